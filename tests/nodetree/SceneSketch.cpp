#include "SceneSketch.h"

#include "KVSceneModel.h"

#include <QStringList>

#include <vector>

UB::CHandle* AddSketch(KV::CSceneModel& scene, const QString& drawing)
{
    UB::CHandle* first = nullptr;
    std::vector<UB::CHandle*> path; // the latest node at each level
    for (const QString& line : drawing.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.trimmed();
        if (name.isEmpty())
            continue;
        int indent = 0;
        while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
            ++indent;
        const std::size_t level = static_cast<std::size_t>(indent / 2);
        KV::CNodeDesc desc;
        desc.name = name == QLatin1String("<empty>") ? QString() : name;
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
