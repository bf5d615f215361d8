#include "SceneSketch.h"

#include "KVSceneModel.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <vector>

namespace {

void ApplyAttribute(KV::CNodeDesc& desc, const QString& attribute)
{
    if (attribute.startsWith(QLatin1String("type=")))
        desc.objectType = attribute.mid(5).toInt();
    else if (attribute.startsWith(QLatin1String("kind=")))
        desc.nodeKind = attribute.mid(5).toInt();
    else if (attribute == QLatin1String("unlinkable"))
        desc.linkable = false;
    else if (attribute == QLatin1String("excluded"))
        desc.subNodeLinkExcluded = true;
    else
        ADD_FAILURE() << "unknown attribute " << attribute.toStdString();
}

} // namespace

UB::CHandle* AddSketch(KV::CSceneModel& scene, const QString& drawing)
{
    UB::CHandle* first = nullptr;
    std::vector<UB::CHandle*> path; // the latest node at each level
    for (const QString& line : drawing.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString name = line.trimmed();
        QStringList attributes;
        const int open = name.lastIndexOf(QLatin1String(" ["));
        if (open > 0 && name.endsWith(QLatin1Char(']'))) {
            attributes = name.mid(open + 2, name.size() - open - 3)
                             .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            name = name.left(open).trimmed();
        }
        if (name.isEmpty())
            continue;
        int indent = 0;
        while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
            ++indent;
        const std::size_t level = static_cast<std::size_t>(indent / 2);
        KV::CNodeDesc desc;
        desc.name = name == QLatin1String("<empty>") ? QString() : name;
        for (const QString& attribute : qAsConst(attributes))
            ApplyAttribute(desc, attribute);
        UB::CHandle* node = level == 0 || level > path.size()
                                ? scene.AddObject(desc)
                                : scene.AddNode(path[level - 1], desc);
        if (first == nullptr)
            first = node;
        path.resize(level);
        path.push_back(node);
    }
    return first;
}

UB::CHandle* AddChain(KV::CSceneModel& scene, int depth, const QString& prefix)
{
    const auto desc = [&](int i) {
        KV::CNodeDesc d;
        d.name = prefix + QLatin1Char('_') + QString::number(i);
        return d;
    };
    UB::CHandle* root = scene.AddObject(desc(0));
    UB::CHandle* node = root;
    for (int i = 1; i < depth; ++i)
        node = scene.AddNode(node, desc(i));
    return root;
}
