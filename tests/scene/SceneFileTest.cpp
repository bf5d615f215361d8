// Scene files: what is saved comes back the same, and every kind of broken file is refused
// with a message naming the file, the object and the problem, leaving the scene as it was.

#include "SceneTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

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
    EXPECT_EQ(loaded.FindByName(QStringLiteral("Leftover")), nullptr);
    UB::CHandle* box = loaded.FindByName(QStringLiteral("Box"));
    UB::CHandle* hand = loaded.FindByName(QStringLiteral("Hand"));
    UB::CHandle* table = loaded.FindByName(QStringLiteral("Table"));
    EXPECT_EQ(loaded.LinkParentAt(box, 9), nullptr);
    EXPECT_EQ(loaded.LinkParentAt(box, 10), hand);
    EXPECT_TRUE(Near(PositionOf(loaded.WorldTransformAt(box, 10)), {0, 8, 0}));
    EXPECT_TRUE(Near(PositionOf(loaded.WorldTransformAt(loaded.FindByName("Lid"), 10)), {0, 8, 1}));
    EXPECT_EQ(loaded.Name(loaded.LinkParentAt(table, -5)), QStringLiteral("Camera"));
    EXPECT_TRUE(Near(ScaleOf(loaded.LocalTransformAt(table, 40)), {1, 3, 0.5f}));
    EXPECT_EQ(loaded.LocalTransformAt(table, 40).position[0], 0.1f);
    EXPECT_EQ(loaded.LocalTransformAt(loaded.FindByName(QStringLiteral("Camera")), 3).reserved[2],
              77);
    EXPECT_FALSE(loaded.IsLinkableNode(loaded.FindByName(QStringLiteral("Arm"))));
    EXPECT_TRUE(loaded.IsSubNodeLinkExcluded(loaded.FindByName(QStringLiteral("Arm"))));
    EXPECT_TRUE(loaded.IsLinkBlocked(box));
    UB::CHandle* root = nullptr;
    EXPECT_EQ(loaded.GetOwnerRoot(hand, root), UB::kOk);
    EXPECT_EQ(root, table);
    EXPECT_EQ(loaded.Selection(), (QVector<UB::CHandle*>{box, hand}));
    EXPECT_EQ(loaded.GetCurrentTime(), 12);
    EXPECT_EQ(loaded.Name(loaded.GetCurrentCamera()), QStringLiteral("Camera"));
    EXPECT_EQ(loaded.GetStandardNodeName(58), L"Bones");
    EXPECT_EQ(loaded.StructuralChildren(loaded.FindByName(QStringLiteral("Robot"))),
              (QVector<UB::CHandle*>{loaded.FindByName(QStringLiteral("Arm"))}));
}

TEST(SceneFile, HandWrittenFileMayListChildrenBeforeParentsAndOmitDefaults)
{
    const QByteArray json = R"({"format": "korvel-scene", "version": 1, "nodes": [
        {"id": 7, "name": "Finger", "parent": 3},
        {"id": 3, "name": "Glove", "objectType": 4},
        {"id": 9, "name": "Thumb", "parent": 3}
    ]})";
    CSceneModel scene;
    QString error;
    ASSERT_TRUE(scene.LoadJson(json, QStringLiteral("glove.json"), &error)) << error.toStdString();
    UB::CHandle* glove = scene.FindByName(QStringLiteral("Glove"));
    EXPECT_EQ(scene.Objects(), (QVector<UB::CHandle*>{glove}));
    EXPECT_EQ(scene.StructuralChildren(glove),
              (QVector<UB::CHandle*>{scene.FindByName(QStringLiteral("Finger")),
                                     scene.FindByName(QStringLiteral("Thumb"))}));
    UB::CHandle* owner = nullptr;
    EXPECT_EQ(scene.GetNodeOwner(scene.FindByName(QStringLiteral("Thumb")), owner), UB::kOk);
    EXPECT_EQ(owner, glove);
    EXPECT_EQ(scene.GetStandardNodeName(0), L"Body");
}

TEST(SceneFile, BrokenFilesAreRefusedAndLeaveTheSceneUntouched)
{
    const auto scene = [](const QByteArray& nodes, const QByteArray& extra = {}) {
        return R"({"format": "korvel-scene", "version": 1, )" + extra + R"("nodes": [)" + nodes +
               "]}";
    };
    const struct
    {
        const char* what;
        QByteArray json;
        QStringList expected; // the object and the problem
    } cases[] = {
        {"empty", "  \n", {"file", "the file is empty"}},
        {"malformed", R"({"format": "korvel-scene", "nodes": [)", {"file", "not valid JSON"}},
        {"not an object", "[1, 2]", {"file", "top level"}},
        {"wrong format", R"({"format": "other", "version": 1, "nodes": []})", {"scene", "format"}},
        {"nodes not a list",
         R"({"format": "korvel-scene", "version": 1, "nodes": {}})",
         {"scene", "\"nodes\" must be an array"}},
        {"entry not an object", scene("5"), {"node entry 1", "must be an object"}},
        {"missing id", scene(R"({"name": "A"})"), {"node entry 1", "\"id\" is missing"}},
        {"flag of wrong type",
         scene(R"({"id": 4, "name": "A", "linkable": "yes"})"),
         {"node 4 \"A\"", "\"linkable\" must be true or false"}},
        {"duplicate id",
         scene(R"({"id": 4, "name": "A"}, {"id": 4, "name": "B"})"),
         {"node 4 \"B\"", "used by an earlier node"}},
        {"dangling parent",
         scene(R"({"id": 4, "name": "A", "parent": 99})"),
         {"node 4 \"A\"", "names node 99, which is not in the file"}},
        {"structural cycle",
         scene(R"({"id": 1, "name": "A", "parent": 2}, {"id": 2, "name": "B", "parent": 1})"),
         {"node 1 \"A\"", "structural parents lead back"}},
        {"dangling link parent",
         scene(R"({"id": 1, "name": "A", "linkKeys": [{"time": 0, "parent": 5}]})"),
         {"node 1 \"A\"", "link key at time 0 names node 5"}},
        {"link cycle",
         scene(R"({"id": 1, "name": "A", "linkKeys": [{"time": 10, "parent": 2}]},
                  {"id": 2, "name": "B", "linkKeys": [{"time": 5, "parent": 1}]})"),
         {"\"A\"", "at time 10 lead back to itself"}},
        {"huge time",
         scene(R"({"id": 1, "name": "A", "transformKeys": [{"time": 1e20}]})"),
         {"node 1 \"A\"", "time 1e+20 is out of range"}},
        {"huge coordinate",
         scene(
             R"({"id": 1, "name": "A", "transformKeys": [{"time": 0, "position": [0, 1e300, 0]}]})"),
         {"node 1 \"A\" (transform key at time 0)", "\"position\" holds 1e+300"}},
        {"zero rotation",
         scene(
             R"({"id": 1, "name": "A", "transformKeys": [{"time": 0, "rotation": [0, 0, 0, 0]}]})"),
         {"node 1 \"A\" (transform key at time 0)", "zero quaternion"}},
        {"dangling selection",
         scene(R"({"id": 1, "name": "A"})", R"("selection": [1, 8], )"),
         {"scene", "\"selection\" names node 8"}},
        {"bad standard name key",
         scene("", R"("standardNames": {"zero": "Body"}, )"),
         {"scene", "standard name key \"zero\""}},
    };

    CSampleScene sample;
    ASSERT_EQ(sample.scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    CHostEventLog events(sample.scene);
    const QByteArray before = sample.scene.ToJson();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        EXPECT_FALSE(sample.scene.LoadJson(c.json, QStringLiteral("broken.json"), &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("broken.json: "))) << error.toStdString();
        for (const QString& part : c.expected)
            EXPECT_TRUE(error.contains(part))
                << error.toStdString() << " lacks " << part.toStdString();
        EXPECT_EQ(sample.scene.ToJson(), before);
    }
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_EQ(sample.scene.UndoStack()->count(), 1);
    EXPECT_TRUE(sample.scene.Contains(sample.box));
}

TEST(SceneFile, FileSystemErrorsNameTheFile)
{
    CSampleScene sample;
    QTemporaryDir dir;
    QString error;
    const QString missing = dir.filePath(QStringLiteral("missing.json"));
    EXPECT_FALSE(sample.scene.LoadFile(missing, &error));
    EXPECT_TRUE(error.startsWith(missing + QStringLiteral(": file: cannot be opened")))
        << error.toStdString();
    EXPECT_TRUE(sample.scene.Contains(sample.box));

    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/scene.json"));
    EXPECT_FALSE(sample.scene.SaveFile(nowhere, &error));
    EXPECT_TRUE(error.startsWith(nowhere + QStringLiteral(": file: cannot be written")))
        << error.toStdString();

    // A save writes the whole file and leaves no temporary file beside it.
    const QString existing = dir.filePath(QStringLiteral("kept.json"));
    ASSERT_TRUE(sample.scene.SaveFile(existing, &error));
    QFile kept(existing);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), sample.scene.ToJson());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"kept.json"}));
}

} // namespace
} // namespace KV::Test
