#include "SceneTestSupport.h"

#include "TransformMath.h"
#include "host/KVEvents.h"

#include <cmath>

namespace KV::Test {

TransformRecord Placement(const QVector3D& position, const QQuaternion& rotation,
                          const QVector3D& scale)
{
    return TransformMath::MakeRecord(position, rotation, scale);
}

QVector3D PositionOf(const TransformRecord& record)
{
    return TransformMath::Position(record);
}

QQuaternion RotationOf(const TransformRecord& record)
{
    return TransformMath::Rotation(record);
}

QVector3D ScaleOf(const TransformRecord& record)
{
    return TransformMath::Scale(record);
}

::testing::AssertionResult Near(const QVector3D& actual, const QVector3D& expected)
{
    if ((actual - expected).length() < 1e-3f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x() << ", " << actual.y() << ", " << actual.z() << ") is not ("
           << expected.x() << ", " << expected.y() << ", " << expected.z() << ")";
}

::testing::AssertionResult SameRotation(const QQuaternion& actual, const QQuaternion& expected)
{
    if (std::fabs(QQuaternion::dotProduct(actual.normalized(), expected.normalized())) > 0.9999f)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "rotation (" << actual.scalar() << "; " << actual.x() << ", " << actual.y() << ", "
           << actual.z() << ") is not (" << expected.scalar() << "; " << expected.x() << ", "
           << expected.y() << ", " << expected.z() << ")";
}

CHostEventLog::CHostEventLog(CSceneModel& scene)
    : m_scene(scene)
{
    CEventSender* sender = scene.EventSender();
    connect(sender, &CEventSender::PickedModeChanged, this, [this](EPickMode now, EPickMode old) {
        lines << QStringLiteral("PickedModeChanged(%1, %2)").arg(now).arg(old);
    });
    connect(sender, &CEventSender::FileLoaded, this,
            [this](EFileType type) { lines << QStringLiteral("FileLoaded(%1)").arg(type); });
    connect(sender, &CEventSender::ObjectSelectionChanged, this,
            [this] { lines << QStringLiteral("ObjectSelectionChanged"); });
    connect(sender, &CEventSender::ObjectDeleted, this,
            [this](UB::CArrayList<UB::CHandle*> objects) {
                lines << QStringLiteral("ObjectDeleted(%1)").arg(objects.GetCount());
            });
    connect(sender, &CEventSender::DialogModeChanged, this, [this](EDialogMode mode) {
        lines << QStringLiteral("DialogModeChanged(%1)").arg(mode);
    });
    connect(sender, &CEventSender::HierarchyChanged, this,
            [this] { lines << QStringLiteral("HierarchyChanged"); });
    connect(sender, &CEventSender::ObjectDataChanged, this,
            [this](UB::CArrayList<UB::CHandle*> objects, EObjectChangedDataType type) {
                QStringList names;
                for (UB::CHandle* object : objects)
                    names << Name(object);
                lines << QStringLiteral("ObjectDataChanged([%1], %2)")
                             .arg(names.join(QStringLiteral(", ")))
                             .arg(type);
            });
    connect(sender, &CEventSender::ObjectDataChanged2, this, [this](CBaseEvent* event) {
        CLinkEvent prototype;
        if (!event->IsKindOf(&prototype)) {
            lines << QStringLiteral("ObjectDataChanged2(?)");
            return;
        }
        const auto* link = static_cast<CLinkEvent*>(event);
        lines << QStringLiteral("ObjectDataChanged2(%1: %2 -> %3 at %4)")
                     .arg(Name(link->object), Name(link->oldParent), Name(link->newParent))
                     .arg(link->time);
    });
    connect(sender, &CEventSender::CurrentTimeChanged, this,
            [this](UBTime time) { lines << QStringLiteral("CurrentTimeChanged(%1)").arg(time); });
    connect(sender, &CEventSender::Played, this, [this] { lines << QStringLiteral("Played"); });
    connect(sender, &CEventSender::Stopped, this, [this] { lines << QStringLiteral("Stopped"); });
}

QString CHostEventLog::Name(const void* handle) const
{
    if (!handle)
        return QStringLiteral("null");
    auto* node = static_cast<UB::CHandle*>(const_cast<void*>(handle));
    return m_scene.Contains(node) ? m_scene.Name(node) : QStringLiteral("<gone>");
}

CSampleScene::CSampleScene()
{
    table = scene.AddObject({QStringLiteral("Table"), 1});
    robot = scene.AddObject({QStringLiteral("Robot"), 2});
    arm = scene.AddNode(robot, {QStringLiteral("Arm"), 6, 2});
    hand = scene.AddNode(arm, {QStringLiteral("Hand"), 6, 2});
    box = scene.AddObject({QStringLiteral("Box"), 1});
    camera = scene.AddObject({QStringLiteral("Camera"), 41});
    scene.SetTransformKey(table, 0, Placement({10, 0, 0}));
    scene.SetTransformKey(robot, 0,
                          Placement({0, 5, 0}, QQuaternion::fromAxisAndAngle(0, 0, 1, 90)));
    scene.SetTransformKey(arm, 0, Placement({2, 0, 0}));
    scene.SetTransformKey(hand, 0, Placement({1, 0, 0}));
    scene.SetTransformKey(box, 0, Placement({0, 0, 3}));
    scene.SetCurrentCamera(camera);
}

QVector3D CSampleScene::World(UB::CHandle* node, UBTime time) const
{
    return PositionOf(scene.WorldTransformAt(node, time));
}

} // namespace KV::Test
