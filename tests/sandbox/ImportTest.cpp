// Real 3D files brought into the sandbox: through a drop, File > Import and the command line;
// one undo step that Save and Open keep; broken files refused by name; and the plug-in's Link
// to Sub-Node on an imported character.

#include "SandboxTest.h"
#include "support/SceneSnapshotAssert.h"

#include "CFileMenu.h"
#include "COutliner.h"
#include "CViewport.h"
#include "KVSceneModel.h"

#include <QAbstractButton>
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>

namespace KV::test {

namespace {

const QString kWorker = QStringLiteral(KV_BIN_DIR "/korvel-import");

QString Model(const QString& relativePath)
{
    return QStringLiteral(KV_ASSIMP_MODELS "/") + relativePath;
}

} // namespace

class ImportTest : public SandboxTest
{
protected:
    CSandboxWindow& OpenForImport()
    {
        OpenWindowWithoutPlugins();
        Window().FileMenu()->SetImportWorker(kWorker);
        return Window();
    }
};

TEST_F(ImportTest, ADroppedFileIsImportedAsOneUndoStepThatSaveAndOpenKeepExactly)
{
    OpenForImport();
    const CSceneSnapshot before = Scene().Snapshot();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Model(QStringLiteral("BVH/Boxing_Toes.bvh")))});
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

    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_TRUE(KV::Test::SameScene({before.file, imported.undoCount, before.undoIndex, false},
                                    Scene().Snapshot()));
    Action(QStringLiteral("qtRedoAction"))->trigger();
    const QString path = TempPath(QStringLiteral("boxing.json"));
    ASSERT_TRUE(Window().FileMenu()->SaveAs(path));
    Window().FileMenu()->NewScene();
    ASSERT_TRUE(Window().FileMenu()->OpenFile(path));
    EXPECT_EQ(Scene().Snapshot().file, imported.file);
}

TEST_F(ImportTest, AFileThatCannotBeImportedIsExplainedByNameAndTheSceneStaysAsItWas)
{
    OpenForImport();
    const CSceneSnapshot before = Scene().Snapshot();
    QFile empty(TempPath(QStringLiteral("empty.fbx")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    QString shown;
    CModalAnswer answer([&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        QTest::mouseClick(static_cast<QMessageBox*>(box)->button(QMessageBox::Ok), Qt::LeftButton);
    });
    EXPECT_FALSE(Window().FileMenu()->ImportFile(empty.fileName()));
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(shown, empty.fileName() + QStringLiteral(": the file is empty"));
    EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));
}

TEST_F(ImportTest, AScriptImportsHeadlessAndSavesTheSceneAndAPictureOrFailsByName)
{
    QProcess sandbox;
    const QString scene = TempPath(QStringLiteral("walk.json"));
    const QString picture = TempPath(QStringLiteral("walk.png"));
    const QStringList common = {QStringLiteral("-platform"),  QStringLiteral("offscreen"),
                                QStringLiteral("--plugin"),   TempPath(QStringLiteral("none")),
                                QStringLiteral("--settings"), SettingsFile()};
    sandbox.start(QStringLiteral(KV_BIN_DIR "/korvel-sandbox"),
                  common + QStringList{QStringLiteral("--import"),
                                       Model(QStringLiteral("BVH/Boxing_Toes.bvh")),
                                       QStringLiteral("--save-scene"), scene,
                                       QStringLiteral("--screenshot"), picture});
    ASSERT_TRUE(sandbox.waitForFinished(60000));
    EXPECT_EQ(sandbox.exitCode(), 0) << sandbox.readAllStandardError().toStdString();
    CSceneModel saved;
    QString error;
    ASSERT_TRUE(saved.LoadFile(scene, &error)) << error.toStdString();
    EXPECT_EQ(saved.Objects().size(), 1) << "a new scene holds the file alone";
    EXPECT_NE(saved.FindByName(QStringLiteral("RightWrist")), nullptr);
    EXPECT_FALSE(QImage(picture).isNull());

    const QString empty = TempPath(QStringLiteral("empty.bvh"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString none = TempPath(QStringLiteral("none.json"));
    sandbox.start(QStringLiteral(KV_BIN_DIR "/korvel-sandbox"),
                  common + QStringList{QStringLiteral("--import"), empty,
                                       QStringLiteral("--save-scene"), none});
    ASSERT_TRUE(sandbox.waitForFinished(60000));
    EXPECT_EQ(sandbox.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(sandbox.readAllStandardError());
    EXPECT_TRUE(said.contains(empty + QStringLiteral(": the file is empty"))) << said.toStdString();
    EXPECT_FALSE(QFile::exists(none));
}

// ---- The plug-in on an imported character -----------------------------------------------------

class ImportedCharacterTest : public SandboxWithPluginTest
{
protected:
    /// The sample scene with a real character beside it, and the sword hanging from the
    /// character's chest, ready for Link to Sub-Node.
    void HangTheSwordOnAnImportedCharacter()
    {
        OpenWindow();
        Window().FileMenu()->SetImportWorker(kWorker);
        ASSERT_TRUE(Window().FileMenu()->ImportFile(Model(QStringLiteral("X/BCN_Epileptic.X"))));
        sword = Node(QStringLiteral("Sword"));
        hand = Node(QStringLiteral("B_Hand_Right"));
        HandleList objects;
        objects.Add(sword);
        ASSERT_TRUE(Scene()
                        .LinkObjects(objects, Node(QStringLiteral("B_Spine4")), 0, 0, true, true)
                        .IsSucceeded());
        ClickNode(QStringLiteral("Sword"));
    }

    static QTreeWidget* Tree(QWidget* dialog)
    {
        return dialog->findChild<QTreeWidget*>(QStringLiteral("qtObjectTreeWidget"));
    }

    static QTreeWidgetItem* Item(QWidget* dialog, const QString& text)
    {
        const QList<QTreeWidgetItem*> items =
            Tree(dialog)->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return items.size() == 1 ? items.first() : nullptr;
    }

    static void Click(QWidget* dialog, const char* button)
    {
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QLatin1String(button)),
                          Qt::LeftButton);
    }

    UB::CHandle* sword = nullptr;
    UB::CHandle* hand = nullptr;
};

TEST_F(ImportedCharacterTest, APropLinkedToTheImportedHandLandsThereWithEachAlignment)
{
    HangTheSwordOnAnImportedCharacter();
    const TransformRecord onChest = Scene().WorldTransformAt(sword, 0);
    const TransformRecord handAt = Scene().WorldTransformAt(hand, 0);
    for (const char* alignment : {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"}) {
        SCOPED_TRACE(alignment);
        QString handPath;
        CModalAnswer answer([&](QWidget* dialog) {
            QTreeWidgetItem* item = Item(dialog, QStringLiteral("B_Hand_Right"));
            ASSERT_NE(item, nullptr) << "the character's right hand is not listed";
            for (QTreeWidgetItem* up = item; up != nullptr; up = up->parent())
                handPath.prepend(up->text(0) + QStringLiteral("/"));
            Tree(dialog)->scrollToItem(item);
            QTest::mouseClick(Tree(dialog)->viewport(), Qt::LeftButton, Qt::NoModifier,
                              Tree(dialog)->visualItemRect(item).center());
            Click(dialog, alignment);
            Click(dialog, "qtOKPushButton");
        });
        ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
        ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";

        EXPECT_TRUE(handPath.startsWith(QStringLiteral("BCN_Epileptic/B_Root_Pelvis_L/")))
            << handPath.toStdString();
        EXPECT_TRUE(handPath.endsWith(QStringLiteral("/B_ForeArm_Right/B_Hand_Right/")))
            << handPath.toStdString();
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Hand_Right"));
        const TransformRecord now = Scene().WorldTransformAt(sword, 0);
        TransformRecord expected = onChest;
        if (QByteArray(alignment) != "qtNoAlign")
            std::copy(handAt.position, handAt.position + 3, expected.position);
        if (QByteArray(alignment) == "qtAlignPosRot")
            std::copy(handAt.rotation, handAt.rotation + 4, expected.rotation);
        EXPECT_TRUE(SamePlace(expected, now));
        Action(QStringLiteral("qtUndoAction"))->trigger();
        ASSERT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Spine4"));
    }
}

TEST_F(ImportedCharacterTest, SearchFindsTheHandsAndCancelLeavesTheSceneAsItWas)
{
    HangTheSwordOnAnImportedCharacter();
    const CSceneSnapshot before = Scene().Snapshot();
    QStringList found;
    CModalAnswer answer([&](QWidget* dialog) {
        QTest::keyClicks(
            dialog->findChild<QLineEdit*>(QStringLiteral("qtObjectTreeSearchLineEdit")),
            QStringLiteral("hand"));
        QTreeWidgetItemIterator it(Tree(dialog));
        for (; *it != nullptr; ++it) {
            if (!(*it)->isHidden() && (*it)->text(0).contains(QLatin1String("Hand")))
                found << (*it)->text(0);
        }
        // The first hand found is chosen; aligned, the preview puts the sword in it.
        Click(dialog, "qtAlignPosRot");
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("B_Hand_Left"));
        Click(dialog, "qtCancelPushButton");
    });
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
    ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";
    EXPECT_EQ(found, (QStringList{QStringLiteral("B_Hand_Left"), QStringLiteral("B_Hand_Right")}));
    EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));
    // The search field's clear button fades with an animation that deletes itself only once it
    // has run its time.
    QTest::qWait(250);
}

} // namespace KV::test
