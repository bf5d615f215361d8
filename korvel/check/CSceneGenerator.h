#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

class QRandomGenerator;

namespace UB {
class CHandle;
}

namespace KV {

class CSceneModel;

/// Random scenes for the checker, drawn from a seeded generator: objects of linkable and
/// other types, some blocked or link-disabled, bodies with prop grips, lone skeleton groups,
/// gizmos, nodes the listing rule leaves out, duplicate and empty names, a camera, and link
/// parents that change over time. Links only ever point at objects made earlier, so no scene
/// holds a cycle.
class CSceneGenerator
{
public:
    explicit CSceneGenerator(QRandomGenerator& random);

    /// Adds 3 to `maxObjects` objects to `scene` (building calls only: no host events).
    void Fill(CSceneModel& scene, int maxObjects = 10);
    /// A random scene as the text of a scene file.
    QByteArray MakeFile(int maxObjects = 10);

    QString RandomName();
    int RandomObjectType();
    bool Chance(int percent);
    template<typename T>
    const T& Pick(const QVector<T>& items);

private:
    void AddStructure(CSceneModel& scene, UB::CHandle* parent, int depth);
    void AddBody(CSceneModel& scene, UB::CHandle* parent);
    void AddLinks(CSceneModel& scene, const QVector<UB::CHandle*>& objects);

    QRandomGenerator& m_random;
};

} // namespace KV
