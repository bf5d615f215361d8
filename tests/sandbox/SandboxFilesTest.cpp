// The File menu on the scene's JSON format, and the built-in sample scene.

#include "SandboxTest.h"

#include "CFileMenu.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

namespace KV::test {

namespace {

QAbstractButton* MessageBoxButton(QWidget* box, QMessageBox::StandardButton which)
{
    auto* messageBox = qobject_cast<QMessageBox*>(box);
    return messageBox != nullptr ? messageBox->button(which) : nullptr;
}

} // namespace

class SandboxFilesTest : public SandboxTest
{
protected:
    /// The sword in the knight's right hand: an unsaved edit.
    void LinkSwordToHand()
    {
        ClickNode(QStringLiteral("Sword"));
        Action(QStringLiteral("qtPickMode2"))->trigger();
        ClickNode(QStringLiteral("Hand_R"));
        ASSERT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    }
};

TEST_F(SandboxFilesTest, SaveNewAndOpenRecentBringTheSceneBackAndTellThePlugins)
{
    OpenWindowWithoutPlugins();
    LinkSwordToHand();
    EXPECT_TRUE(Window().isWindowModified());
    const QString path = TempPath(QStringLiteral("duel.json"));

    ASSERT_TRUE(Window().FileMenu()->SaveAs(path));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_TRUE(Window().windowTitle().startsWith(QStringLiteral("duel.json")));

    QSignalSpy loaded(Scene().EventSender(), &CEventSender::FileLoaded);
    Action(QStringLiteral("qtNewAction"))->trigger();
    EXPECT_TRUE(Scene().AllNodes().isEmpty());
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded[0][0].value<EFileType>(), eFileScene);

    QMenu* recent = Window().FileMenu()->RecentMenu();
    ASSERT_TRUE(recent->isEnabled());
    recent->popup(QPoint(0, 0)); // lists the files as a user opening it would see them
    auto* first = recent->findChild<QAction*>(QStringLiteral("qtRecentFile0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 duel.json"));
    first->trigger();
    recent->close();
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[1][0].value<EFileType>(), eFileScene);
    EXPECT_EQ(Window().FileMenu()->CurrentFile(), path);

    // Another session finds the file among its recent ones.
    OpenWindowWithoutPlugins();
    EXPECT_EQ(Window().FileMenu()->RecentFiles(), QStringList{path});
}

TEST_F(SandboxFilesTest, ABrokenFileIsExplainedAndTheOpenSceneStays)
{
    OpenWindowWithoutPlugins();
    LinkSwordToHand();
    const QString path = TempPath(QStringLiteral("broken.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ \"format\": \"korvel-scene\", \"nodes\": [ {\"id\": 1 ");
    file.close();

    QString shown;
    int modeWhileShown = -1;
    CModalAnswer answer([&](QWidget* box) {
        modeWhileShown = Scene().DialogMode();
        shown = static_cast<QMessageBox*>(box)->text();
        QTest::mouseClick(MessageBoxButton(box, QMessageBox::Ok), Qt::LeftButton);
    });
    EXPECT_FALSE(Window().FileMenu()->OpenFile(path));
    ASSERT_TRUE(answer.Answered());
    EXPECT_TRUE(shown.contains(QStringLiteral("broken.json"))) << shown.toStdString();
    EXPECT_EQ(modeWhileShown, eDialogModal);
    EXPECT_EQ(Scene().DialogMode(), eDialogNone);
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(Window().isWindowModified());
    EXPECT_FALSE(Window().FileMenu()->RecentFiles().contains(path));
}

TEST_F(SandboxFilesTest, UnsavedEditsAreOfferedForSavingBeforeANewScene)
{
    OpenWindowWithoutPlugins();
    LinkSwordToHand();

    CModalAnswer cancel([](QWidget* box) {
        QTest::mouseClick(MessageBoxButton(box, QMessageBox::Cancel), Qt::LeftButton);
    });
    Action(QStringLiteral("qtNewAction"))->trigger();
    ASSERT_TRUE(cancel.Answered());
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));

    CModalAnswer discard([](QWidget* box) {
        QTest::mouseClick(MessageBoxButton(box, QMessageBox::Discard), Qt::LeftButton);
    });
    Action(QStringLiteral("qtNewAction"))->trigger();
    ASSERT_TRUE(discard.Answered());
    EXPECT_TRUE(Scene().AllNodes().isEmpty());
    EXPECT_FALSE(Window().isWindowModified());
}

TEST_F(SandboxFilesTest, SampleSceneHoldsWhatTheLinkageRulesAndTheTourNeed)
{
    OpenWindowWithoutPlugins();
    CSceneModel& scene = Scene();
    auto desc = [&](const char* name) {
        return scene.Desc(Node(QLatin1String(name)));
    };

    // Two characters whose skeletons hold the standard names 0 and 55 to 59.
    for (const char* character : {"Knight", "Squire"}) {
        SCOPED_TRACE(character);
        UB::CHandle* root = Node(QLatin1String(character));
        EXPECT_EQ(scene.Desc(root).objectType, 45);
        for (int index : {0, 55, 56, 57, 59}) {
            const std::wstring name = scene.GetStandardNodeName(index);
            EXPECT_NE(scene.FindNodeByName(root, name), nullptr) << "standard name " << index;
        }
    }
    UB::CHandle* knightBody = scene.FindNodeByName(Node(QStringLiteral("Knight")), L"Body");
    const QVector<UB::CHandle*> bodyNodes = scene.StructuralChildren(knightBody);
    ASSERT_EQ(bodyNodes.size(), 1);
    EXPECT_EQ(scene.Name(bodyNodes[0]), QString::fromStdWString(scene.GetStandardNodeName(58)));

    // Node kinds that are never listed, and nodes that are not offered or offered bare.
    for (int kind : {4, 8, 17}) {
        const QVector<UB::CHandle*> nodes = scene.AllNodes();
        EXPECT_TRUE(
            std::any_of(nodes.begin(), nodes.end(),
                        [&](UB::CHandle* node) { return scene.Desc(node).nodeKind == kind; }))
            << "node kind " << kind;
    }
    EXPECT_FALSE(desc("Pouch_Hidden").linkable);
    EXPECT_TRUE(desc("Sheath").subNodeLinkExcluded);

    // Props, camera and light, and the objects each rule needs.
    EXPECT_EQ(desc("Sword").objectType, 41);
    EXPECT_EQ(desc("Shield").objectType, 3);
    EXPECT_EQ(desc("Hat").objectType, 3);
    EXPECT_EQ(desc("Camera01").objectType, 23);
    EXPECT_EQ(scene.GetCurrentCamera(), Node(QStringLiteral("Camera01")));
    EXPECT_EQ(desc("Sun").objectType, 21);
    EXPECT_TRUE(desc("Anvil").linkBlocked);
    EXPECT_TRUE(desc("Banner").linkDisabled);
    EXPECT_EQ(desc("Table").objectType, 14);
    EXPECT_EQ(desc("Barrel").objectType, 15);
    EXPECT_EQ(desc("Cart").objectType, 18);
    EXPECT_EQ(ParentName(QStringLiteral("Lantern")), QStringLiteral("Cart"));
    EXPECT_EQ(desc("Backpack").nodeKind, 1);
    UB::CHandle* ownerRoot = nullptr;
    scene.GetOwnerRoot(Node(QStringLiteral("Backpack")), ownerRoot);
    EXPECT_EQ(ownerRoot, Node(QStringLiteral("Squire")));

    // Link keys at different times.
    EXPECT_EQ(scene.LinkKeyTimes(Node(QStringLiteral("Hat"))), (QVector<UBTime>{0, 50}));
    EXPECT_EQ(scene.LinkKeyTimes(Node(QStringLiteral("Shield"))), (QVector<UBTime>{0, 60}));
    EXPECT_TRUE(Scene().UndoStack()->isClean());
}

} // namespace KV::test
