#include "CNodeNames.h"

#include "KVSceneModel.h"

#include <QVector>

#include <algorithm>
#include <functional>

namespace KV {

CNodeNames::CNodeNames(const CSceneModel* scene)
    : m_scene(scene)
{}

QString CNodeNames::Unambiguous(UB::CHandle* node) const
{
    const QString name = m_scene->Name(node);
    if (m_byName.isEmpty()) {
        // One pass over the scene serves every name asked for afterwards.
        for (UB::CHandle* other : m_scene->AllNodes())
            m_byName[m_scene->Name(other)].append(other);
    }
    QVector<UB::CHandle*> same = m_byName.value(name);
    if (same.size() <= 1)
        return name;

    // Each try narrows the nodes that share the name to those that would read the same.
    UB::CHandle* parent = m_scene->StructuralParent(node);
    const auto keepIf = [&](const std::function<bool(UB::CHandle*)>& readsTheSame) {
        same.erase(std::remove_if(same.begin(), same.end(),
                                  [&](UB::CHandle* other) { return !readsTheSame(other); }),
                   same.end());
    };
    QString where;
    if (parent == nullptr) {
        // An object reads as its name alone; only other objects can be taken for it.
        keepIf([&](UB::CHandle* other) { return m_scene->StructuralParent(other) == nullptr; });
    } else {
        UB::CHandle* object = ObjectOf(node);
        where = m_scene->Name(object);
        keepIf([&](UB::CHandle* other) { return m_scene->Name(ObjectOf(other)) == where; });
        // A node right below its object reads "Hand (Dancer)", any other "Hand (Dancer › Spine)".
        const auto withParent = [&](UB::CHandle* other) {
            UB::CHandle* otherObject = ObjectOf(other);
            UB::CHandle* otherParent = m_scene->StructuralParent(other);
            return otherParent == otherObject || otherParent == nullptr
                       ? m_scene->Name(otherObject)
                       : m_scene->Name(otherObject) + QStringLiteral(" › ") +
                             m_scene->Name(otherParent);
        };
        if (same.size() > 1) {
            where = withParent(node);
            keepIf([&](UB::CHandle* other) { return withParent(other) == where; });
        }
    }
    if (same.size() > 1) {
        const QString place = QObject::tr("%1 of %2").arg(same.indexOf(node) + 1).arg(same.size());
        where = where.isEmpty() ? place : where + QStringLiteral(", ") + place;
    }
    return where.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, where);
}

UB::CHandle* CNodeNames::ObjectOf(UB::CHandle* node) const
{
    // Structural parents never form a cycle, and every node's chain ends at its object.
    while (UB::CHandle* parent = m_scene->StructuralParent(node))
        node = parent;
    return node;
}

} // namespace KV
