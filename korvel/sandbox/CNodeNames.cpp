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
    QVector<UB::CHandle*> same;
    for (UB::CHandle* other : m_scene->AllNodes()) {
        if (m_scene->Name(other) == name)
            same.append(other);
    }
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
    if (parent != nullptr) {
        UB::CHandle* object = ObjectOf(node);
        where = m_scene->Name(object);
        keepIf([&](UB::CHandle* other) { return m_scene->Name(ObjectOf(other)) == where; });
        if (same.size() > 1 && parent != object) {
            where += QStringLiteral(" › ") + m_scene->Name(parent);
            keepIf([&](UB::CHandle* other) {
                UB::CHandle* otherParent = m_scene->StructuralParent(other);
                return otherParent != nullptr && otherParent != ObjectOf(other) &&
                       m_scene->Name(otherParent) == m_scene->Name(parent);
            });
        }
    }
    if (same.size() > 1) {
        const QString place = QObject::tr("%1 of %2").arg(same.indexOf(node) + 1).arg(same.size());
        where = where.isEmpty() ? place : where + QStringLiteral(", ") + place;
    }
    return QStringLiteral("%1 (%2)").arg(name, where);
}

UB::CHandle* CNodeNames::ObjectOf(UB::CHandle* node) const
{
    // Structural parents never form a cycle, and every node's chain ends at its object.
    while (UB::CHandle* parent = m_scene->StructuralParent(node))
        node = parent;
    return node;
}

} // namespace KV
