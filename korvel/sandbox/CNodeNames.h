#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;

/// Names that tell a node from every other node: the name alone when no other node bears it
/// (for an object, no other object), else with its object ("Head (Knight)"), then with its
/// object and structural parent ("Hand (Dancer › Spine)"), and where even that is shared, with
/// its place among those nodes in creation order ("Hand (Dancer › Spine, 2 of 2)"). Made for
/// one refresh: it reads the scene's names once.
class CNodeNames
{
public:
    explicit CNodeNames(const CSceneModel* scene);

    QString Unambiguous(UB::CHandle* node) const;

private:
    UB::CHandle* ObjectOf(UB::CHandle* node) const;

    const CSceneModel* m_scene;
    mutable QHash<QString, QVector<UB::CHandle*>> m_byName;
};

} // namespace KV
