#pragma once

#include "KVSceneModel.h"
#include "TransformMath.h"
#include "support/QtPrinters.h"
#include "support/SceneSnapshotAssert.h"
#include "support/Transforms.h"

#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

namespace KV::Test {

using TransformMath::Position;

inline TransformRecord Placement(const QVector3D& position, const QQuaternion& rotation = {},
                                 const QVector3D& scale = {1, 1, 1})
{
    return TransformMath::MakeRecord(position, rotation, scale);
}

/// Same point within float tolerance.
inline ::testing::AssertionResult Near(const QVector3D& actual, const QVector3D& expected)
{
    return SamePlace(Placement(expected), Placement(actual));
}

/// Records each host event of a scene's sender as a line, in order, with handles named by the
/// scene: "ObjectDataChanged2(Box: Robot -> Table at 0)", "PickedModeChanged(2, 0)" and so on.
class CHostEventLog : public QObject
{
public:
    explicit CHostEventLog(CSceneModel& scene);

    QStringList lines;

private:
    QString Name(const void* handle) const;
    CSceneModel& m_scene;
};

/// The scene most tests start from, all keys at time 0: objects Table at (10, 0, 0), Robot at
/// (0, 5, 0) turned 90° about Z, Box at (0, 0, 3) and Camera, the current camera; Robot's node
/// Arm at (2, 0, 0) and Arm's node Hand at (1, 0, 0), so that Hand is at (0, 8, 0) in the world.
struct CSampleScene
{
    CSampleScene();

    CSceneModel scene;
    UB::CHandle* table;
    UB::CHandle* robot;
    UB::CHandle* arm;
    UB::CHandle* hand;
    UB::CHandle* box;
    UB::CHandle* camera;

    QVector3D World(UB::CHandle* node, UBTime time = 0) const;
};

} // namespace KV::Test
