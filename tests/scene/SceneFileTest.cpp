// Scene files: what is saved comes back the same, and every kind of broken file is refused
// with a message naming the file, the object and the problem, leaving the scene as it was.

#include "SceneTestSupport.h"

#include <QTemporaryDir>

namespace KV::Test {
namespace {

TEST(SceneFile, SavedSceneLoadsBackTheSame)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 1, 10, true, true), UB::kOk);
    scene.SetLinkKey(sample.table, -5, sample.camera);
    scene.SetTransformKey(sample.table, 40, Placement({0.1f, -2.75f, 1e6f}, {}, {1, 3, 0.5f}));
    TransformRecord withReserved = Placement({1, 2, 3});
    withReserved.reserved[2] = 77;
    scene.SetTransformKey(sample.camera, 3, withReserved);
    scene.Desc(sample.arm).subNodeLinkExcluded = true;
    scene.Desc(sample.arm).linkable = false;
    scene.Desc(sample.box).linkBlocked = true;
    scene.Desc(sample.box).linkDisabled = true;
    scene.SetOwner(sample.hand, sample.arm);
    scene.SetOwnerRoot(sample.hand, sample.table);
    scene.AddNode(sample.box, {QStringLiteral("Lid")}, Placement({0, 0, 1})); // a rest transform
    scene.SetStandardNodeName(58, QStringLiteral("Bones"));
    scene.SetSelection({sample.box, sample.hand});
    scene.SetCurrentTime(12);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("robot.korvel.json"));
    QString error;
    ASSERT_TRUE(scene.SaveFile(path, &error)) << error.toStdString();

    CSceneModel loaded;
    loaded.AddObject({QStringLiteral("Leftover")});
    CHostEventLog events(loaded);
    ASSERT_TRUE(loaded.LoadFile(path, &error)) << error.toStdString();

    EXPECT_EQ(events.lines, (QStringList{"FileLoaded(0)"}));
    EXPECT_EQ(loaded.ToJson(), scene.ToJson());
    // What was read is what was saved, not only what writes back the same.
    const auto node = [&loaded](const char* name) {
        return loaded.FindByName(name);
    };
    EXPECT_EQ(loaded.LinkParentAt(node("Box"), 10), node("Hand"));
    EXPECT_TRUE(Near(Position(loaded.WorldTransformAt(node("Lid"), 10)), {0, 8, 1}));
    EXPECT_EQ(loaded.LinkParentAt(node("Table"), -5), node("Camera"));
    EXPECT_TRUE(SameTransform(scene.LocalTransformAt(sample.table, 40),
                              loaded.LocalTransformAt(node("Table"), 40)));
    EXPECT_EQ(loaded.LocalTransformAt(node("Camera"), 3).reserved[2], 77);
    EXPECT_FALSE(loaded.Desc(node("Arm")).linkable);
    EXPECT_TRUE(loaded.Desc(node("Arm")).subNodeLinkExcluded);
    EXPECT_TRUE(loaded.Desc(node("Box")).linkBlocked);
    EXPECT_TRUE(loaded.Desc(node("Box")).linkDisabled);
    UB::CHandle* owner = nullptr;
    UB::CHandle* root = nullptr;
    EXPECT_EQ(loaded.GetNodeOwner(node("Hand"), owner), UB::kOk);
    EXPECT_EQ(loaded.GetOwnerRoot(node("Hand"), root), UB::kOk);
    EXPECT_EQ(owner, node("Arm"));
    EXPECT_EQ(root, node("Table"));
    EXPECT_EQ(loaded.Selection(), (QVector<UB::CHandle*>{node("Box"), node("Hand")}));
    EXPECT_EQ(loaded.GetCurrentTime(), 12);
    EXPECT_EQ(loaded.GetCurrentCamera(), node("Camera"));
    EXPECT_EQ(loaded.GetStandardNodeName(58), L"Bones");
    EXPECT_EQ(loaded.StructuralChildren(node("Robot")), (QVector<UB::CHandle*>{node("Arm")}));
}

TEST(SceneFile, HandWrittenFileMayListChildrenBeforeParentsAndOmitDefaults)
{
    CSceneModel scene;
    QString error;
    ASSERT_TRUE(scene.LoadJson(R"({"format": "korvel-scene", "version": 1, "nodes": [
        {"id": 7, "name": "Finger", "parent": 3}, {"id": 3, "name": "Glove"},
        {"id": 9, "name": "Thumb", "parent": 3}]})",
                               QStringLiteral("glove.json"), &error))
        << error.toStdString();
    UB::CHandle* glove = scene.FindByName(QStringLiteral("Glove"));
    EXPECT_EQ(scene.Objects(), (QVector<UB::CHandle*>{glove}));
    const QVector<UB::CHandle*> fingers = scene.StructuralChildren(glove);
    EXPECT_EQ(fingers, (QVector<UB::CHandle*>{scene.FindByName(QStringLiteral("Finger")),
                                              scene.FindByName(QStringLiteral("Thumb"))}));
    UB::CHandle* owner = nullptr;
    EXPECT_EQ(scene.GetNodeOwner(fingers.value(1), owner), UB::kOk);
    EXPECT_EQ(owner, glove);
}

TEST(SceneFile, BrokenFilesAreRefusedByNameAndLeaveTheSceneUntouched)
{
    const auto scene = [](const QByteArray& nodes, const QByteArray& extra = {}) {
        return R"({"format": "korvel-scene", "version": 1, )" + extra + R"("nodes": [)" + nodes +
               "]}";
    };
    // Each error reads "<file>: <object>: <problem>".
    const std::pair<QByteArray, QString> cases[] = {
        {"  \n", "file: the file is empty"},
        {R"({"format": "korvel-scene", "nodes": [)", "file: not valid JSON"},
        {R"({"format": "other", "version": 1, "nodes": []})", R"(scene: "format" is not)"},
        {R"({"format": "korvel-scene", "version": 1, "nodes": {}})",
         R"(scene: "nodes" must be an array)"},
        {scene(R"({"name": "A"})"), R"(node entry 1: "id" is missing)"},
        {scene(R"({"id": 4, "name": "A", "linkable": "yes"})"),
         R"(node 4 "A": "linkable" must be true or false)"},
        {scene(R"({"id": 4, "name": "A"}, {"id": 4, "name": "B"})"),
         R"(node 4 "B": id 4 is used by an earlier node)"},
        {scene(R"({"id": 4, "name": "A", "parent": 99})"),
         R"(node 4 "A": "parent" names node 99, which is not in the file)"},
        {scene(R"({"id": 1, "name": "A", "linkKeys": [{"time": 0, "parent": 5}]})"),
         R"(node 1 "A": link key at time 0 names node 5)"},
        {scene(R"({"id": 1, "name": "A", "parent": 2}, {"id": 2, "name": "B", "parent": 1})"),
         R"(node 1 "A": its structural parents lead back)"},
        {scene(R"({"id": 1, "name": "A", "linkKeys": [{"time": 10, "parent": 2}]},
                  {"id": 2, "name": "B", "linkKeys": [{"time": 5, "parent": 1}]})"),
         R"(node 1 "A": its link parents at time 10 lead back to itself)"},
        {scene(R"({"id": 1, "name": "A", "transformKeys": [{"time": 1e20}]})"),
         R"(node 1 "A": time 1e+20 is out of range)"},
        {scene(
             R"({"id": 1, "name": "A", "transformKeys": [{"position": [0, 1e300, 0], "time": 0}]})"),
         R"(node 1 "A" (transform key at time 0): "position" holds 1e+300)"},
        {scene(
             R"({"id": 1, "name": "A", "transformKeys": [{"rotation": [0, 0, 0, 0], "time": 0}]})"),
         R"(node 1 "A" (transform key at time 0): the rotation is the zero quaternion)"},
        {scene(R"({"id": 1, "name": "A"})", R"("selection": [1, 8], )"),
         R"(scene: "selection" names node 8)"},
        {scene("", R"("standardNames": {"zero": "Body"}, )"), R"(scene: standard name key "zero")"},
    };

    CSampleScene sample;
    ASSERT_EQ(sample.scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    CHostEventLog events(sample.scene);
    const CSceneSnapshot before = sample.scene.Snapshot();
    for (const auto& [json, expected] : cases) {
        QString error;
        EXPECT_FALSE(sample.scene.LoadJson(json, QStringLiteral("broken.json"), &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("broken.json: ") + expected))
            << error.toStdString();
    }
    EXPECT_TRUE(SameScene(before, sample.scene.Snapshot()));
    EXPECT_TRUE(events.lines.isEmpty());

    // Files that cannot be read or written are named too.
    QTemporaryDir dir;
    QString error;
    const QString missing = dir.filePath(QStringLiteral("missing.json"));
    EXPECT_FALSE(sample.scene.LoadFile(missing, &error));
    EXPECT_TRUE(error.startsWith(missing + QStringLiteral(": file: cannot be opened")))
        << error.toStdString();
    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/scene.json"));
    EXPECT_FALSE(sample.scene.SaveFile(nowhere, &error));
    EXPECT_TRUE(error.startsWith(nowhere + QStringLiteral(": file: cannot be written")))
        << error.toStdString();
    EXPECT_TRUE(SameScene(before, sample.scene.Snapshot()));
}

} // namespace
} // namespace KV::Test
