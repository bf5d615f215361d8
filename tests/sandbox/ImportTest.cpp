// Real 3D files brought into the sandbox: through a drop and the command line, as one undo step
// that Save and Open keep, a broken file refused by name, and the plug-in's Link to Sub-Node on
// an imported character: search finds its hands, Cancel keeps the scene, each alignment lands.

#include "SandboxTest.h"

#include "CFileMenu.h"
#include "COutliner.h"
#include "CViewport.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>

namespace KV::test {

namespace {

QString Model(const char* relativePath)
{
    return QStringLiteral(KV_ASSIMP_MODELS "/") + QLatin1String(relativePath);
}

} // namespace

class ImportTest : public SandboxTest
{
protected:
    void OpenForImport(bool withPlugin)
    {
        if (withPlugin)
            OpenWindow();
        else
            OpenWindowWithoutPlugins();
        Window().FileMenu()->SetImportWorker(QStringLiteral(KV_BIN_DIR "/korvel-import"));
    }
};

TEST_F(ImportTest, ADroppedFileIsOneUndoStepThatSaveAndOpenKeep)
{
    OpenForImport(false);
    const CSceneSnapshot before = Scene().Snapshot();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Model("BVH/Boxing_Toes.bvh"))});
    const QPoint inside = Window().rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &drop);
    ASSERT_TRUE(WaitUntil([&] { return Scene().FindByName(QStringLiteral("RightWrist")); }));
    UB::CHandle* wrist = Node(QStringLiteral("RightWrist"));
    EXPECT_EQ(Scene().Selection(), QVector<UB::CHandle*>{Node(QStringLiteral("Boxing_Toes"))});
    EXPECT_EQ(Scene().UndoStack()->undoText(), QStringLiteral("Import Boxing_Toes.bvh"));
    EXPECT_TRUE(Window().isWindowModified());
    EXPECT_TRUE(WaitUntil([&] { return Window().Outliner()->ItemOf(wrist) != nullptr; }));
    EXPECT_TRUE(Window().Viewport()->rect().contains(Window().Viewport()->NodePosition(wrist)))
        << "the view is fitted to what came in";
    const CSceneSnapshot imported = Scene().Snapshot();
    EXPECT_EQ(imported.undoCount, before.undoCount + 1);

    Trigger("qtUndoAction");
    EXPECT_TRUE(KV::Test::SameScene({before.file, imported.undoCount, before.undoIndex, false},
                                    Scene().Snapshot()));
    Trigger("qtRedoAction");
    const QString path = TempPath(QStringLiteral("boxing.json"));
    ASSERT_TRUE(Window().FileMenu()->SaveAs(path));
    Window().FileMenu()->NewScene();
    ASSERT_TRUE(Window().FileMenu()->OpenFile(path));
    EXPECT_EQ(Scene().Snapshot().file, imported.file);
}

TEST_F(ImportTest, AScriptImportsHeadlessAndSavesTheSceneAndAPictureOrFailsByName)
{
    const QString scene = TempPath(QStringLiteral("walk.json"));
    const QString picture = TempPath(QStringLiteral("walk.png"));
    const QString empty = TempPath(QStringLiteral("empty.bvh"));
    QFile(empty).open(QIODevice::WriteOnly);
    auto run = [&](const QString& file, const QStringList& outputs) {
        QProcess sandbox;
        sandbox.start(QStringLiteral(KV_BIN_DIR "/korvel-sandbox"),
                      QStringList{"-platform", "offscreen", "--plugin", TempPath("none"),
                                  "--settings", SettingsFile(), "--import", file} +
                          outputs);
        EXPECT_TRUE(sandbox.waitForFinished(60000));
        return std::make_pair(sandbox.exitCode(),
                              QString::fromLocal8Bit(sandbox.readAllStandardError()));
    };
    const auto [code, said] =
        run(Model("BVH/Boxing_Toes.bvh"), {"--save-scene", scene, "--screenshot", picture});
    EXPECT_EQ(code, 0) << said.toStdString();
    CSceneModel saved;
    QString error;
    ASSERT_TRUE(saved.LoadFile(scene, &error)) << error.toStdString();
    EXPECT_EQ(saved.Objects().size(), 1) << "a new scene holds the file alone";
    EXPECT_NE(saved.FindByName(QStringLiteral("RightWrist")), nullptr);
    EXPECT_FALSE(QImage(picture).isNull());

    const auto [failed, reason] = run(empty, {"--save-scene", TempPath("none.json")});
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(reason.contains(empty + QStringLiteral(": the file is empty")))
        << reason.toStdString();
    EXPECT_FALSE(QFile::exists(TempPath("none.json")));
}

TEST_F(ImportTest, APropFindsAndLandsOnTheImportedHandWithEachAlignmentAndCancelKeepsAll)
{
    // The sword hangs from a real character's chest, ready for Link to Sub-Node.
    OpenForImport(true);
    ASSERT_TRUE(Window().FileMenu()->ImportFile(Model("X/BCN_Epileptic.X")));
    HandleList objects;
    objects.Add(Node(QStringLiteral("Sword")));
    ASSERT_TRUE(Scene()
                    .LinkObjects(objects, Node(QStringLiteral("B_Spine4")), 0, 0, true, true)
                    .IsSucceeded());
    ClickNode(QStringLiteral("Sword"));
    const TransformRecord onChest = World(QStringLiteral("Sword"));
    const TransformRecord hand = World(QStringLiteral("B_Hand_Right"));

    // Search finds both hands; the first is chosen and, aligned, previews the sword in it.
    const CSceneSnapshot before = Scene().Snapshot();
    QStringList found;
    ASSERT_TRUE(LinkSubNode([&](CSubNodeDialogUser& user) {
        user.TypeInSearch(QStringLiteral("hand"));
        for (QTreeWidgetItem* item : user.Items()) {
            if (!item->isHidden() && item->text(0).contains(QLatin1String("Hand")))
                found << item->text(0);
        }
        user.ChooseAlignment(2);
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Hand_Left"));
        CSubNodeDialogUser::Click(user.Cancel());
    }));
    EXPECT_EQ(found, (QStringList{"B_Hand_Left", "B_Hand_Right"}));
    EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));

    for (int alignment : {0, 1, 2}) {
        SCOPED_TRACE(alignment);
        QString handPath;
        ASSERT_TRUE(LinkSubNode([&](CSubNodeDialogUser& user) {
            ClickItem(user, QStringLiteral("B_Hand_Right"));
            for (QTreeWidgetItem* up = user.Tree()->currentItem(); up != nullptr; up = up->parent())
                handPath.prepend(up->text(0) + QStringLiteral("/"));
            user.ChooseAlignment(alignment);
            CSubNodeDialogUser::Click(user.Ok());
        }));
        EXPECT_TRUE(handPath.startsWith(QStringLiteral("BCN_Epileptic/B_Root_Pelvis_L/")) &&
                    handPath.endsWith(QStringLiteral("/B_ForeArm_Right/B_Hand_Right/")))
            << handPath.toStdString();
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Hand_Right"));
        TransformRecord expected = onChest;
        if (alignment > 0)
            std::copy(hand.position, hand.position + 3, expected.position);
        if (alignment > 1)
            std::copy(hand.rotation, hand.rotation + 4, expected.rotation);
        EXPECT_TRUE(SamePlace(expected, World(QStringLiteral("Sword"))));
        Trigger("qtUndoAction");
        ASSERT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Spine4"));
    }
    // The search field's clear button fades with an animation that deletes itself only once it
    // has run its time.
    QTest::qWait(250);
}

} // namespace KV::test
