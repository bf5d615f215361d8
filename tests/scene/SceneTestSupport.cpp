#include "SceneTestSupport.h"

#include "host/KVEvents.h"

namespace KV::Test {

CHostEventLog::CHostEventLog(CSceneModel& scene)
    : m_scene(scene)
{
    CEventSender* sender = scene.EventSender();
    // "Name(argument, ...)", or the bare name for an event without arguments.
    const auto line = [this](const char* name) {
        return [this, name](auto... arguments) {
            const QStringList values{QString::number(arguments)...};
            lines << (values.isEmpty()
                          ? QString::fromLatin1(name)
                          : QStringLiteral("%1(%2)").arg(QLatin1String(name),
                                                         values.join(QStringLiteral(", "))));
        };
    };
    connect(sender, &CEventSender::PickedModeChanged, this, line("PickedModeChanged"));
    connect(sender, &CEventSender::FileLoaded, this, line("FileLoaded"));
    connect(sender, &CEventSender::ObjectSelectionChanged, this, line("ObjectSelectionChanged"));
    connect(sender, &CEventSender::DialogModeChanged, this, line("DialogModeChanged"));
    connect(sender, &CEventSender::HierarchyChanged, this, line("HierarchyChanged"));
    connect(sender, &CEventSender::CurrentTimeChanged, this, line("CurrentTimeChanged"));
    connect(sender, &CEventSender::Played, this, line("Played"));
    connect(sender, &CEventSender::Stopped, this, line("Stopped"));
    connect(sender, &CEventSender::ObjectDeleted, this,
            [this](UB::CArrayList<UB::CHandle*> objects) {
                lines << QStringLiteral("ObjectDeleted(%1)").arg(objects.GetCount());
            });
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
        const auto* link = static_cast<CLinkEvent*>(event); // the only kind the scene sends
        lines << QStringLiteral("ObjectDataChanged2(%1: %2 -> %3 at %4)")
                     .arg(Name(link->object), Name(link->oldParent), Name(link->newParent))
                     .arg(link->time);
    });
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
    return Position(scene.WorldTransformAt(node, time));
}

} // namespace KV::Test
