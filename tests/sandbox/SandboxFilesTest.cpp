// The File menu on the scene's file format: save, new, recent files, and broken files or unsaved
// edits that must not cost the open scene.

#include "SandboxTest.h"

#include "CFileMenu.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

namespace KV::test {

namespace {

/// An answer that clicks that button of the message box and keeps its text.
std::function<void(QDialog*)> Press(QMessageBox::StandardButton which, QString* text = nullptr)
{
    return [which, text](QDialog* box) {
        if (text != nullptr)
            *text = static_cast<QMessageBox*>(box)->text();
        QTest::mouseClick(static_cast<QMessageBox*>(box)->button(which), Qt::LeftButton);
    };
}

} // namespace

TEST_F(SandboxTest, SaveNewRecentBrokenFilesAndUnsavedEditsKeepWhatTheUserMeant)
{
    OpenWindowWithoutPlugins();
    LinkSwordToHand();
    EXPECT_TRUE(Window().isWindowModified());
    const QString path = TempPath(QStringLiteral("duel.json"));
    ASSERT_TRUE(Window().FileMenu()->SaveAs(path));
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_TRUE(Window().windowTitle().startsWith(QStringLiteral("duel.json")));

    QSignalSpy loaded(Scene().EventSender(), &CEventSender::FileLoaded);
    // New and Open each tell the plug-ins a scene file was loaded.
    Trigger("qtNewAction");
    EXPECT_TRUE(Scene().AllNodes().isEmpty());
    QMenu* recent = Window().FileMenu()->RecentMenu();
    recent->popup(QPoint(0, 0)); // lists the files as a user opening it would see them
    auto* first = recent->findChild<QAction*>(QStringLiteral("qtRecentFile0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 duel.json"));
    first->trigger();
    recent->close();
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_EQ(Window().FileMenu()->CurrentFile(), path);
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[1][0].value<EFileType>(), eFileScene);

    // A broken file is explained and leaves the edited scene open.
    ClickNode(QStringLiteral("Cart"));
    Trigger("qtDeleteSelection");
    const QString broken = TempPath(QStringLiteral("broken.json"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ \"format\": \"korvel-scene\", \"nodes\": [ {\"id\": 1 ");
    file.close();

    QString shown;
    int modeWhileShown = -1;
    CModalAnswer ok([&](QDialog* box) {
        modeWhileShown = Scene().DialogMode();
        Press(QMessageBox::Ok, &shown)(box);
    });
    EXPECT_FALSE(Window().FileMenu()->OpenFile(broken));
    ASSERT_TRUE(ok.Answered());
    EXPECT_TRUE(shown.contains(QStringLiteral("broken.json"))) << shown.toStdString();
    EXPECT_EQ(modeWhileShown, eDialogModal);
    EXPECT_EQ(Scene().FindByName(QStringLiteral("Cart")), nullptr);
    EXPECT_TRUE(Window().isWindowModified());
    EXPECT_EQ(Window().FileMenu()->RecentFiles(), QStringList{path});

    // Unsaved edits are offered for saving before a new scene.
    CModalAnswer cancel(Press(QMessageBox::Cancel));
    Trigger("qtNewAction");
    ASSERT_TRUE(cancel.Answered());
    EXPECT_TRUE(Window().isWindowModified());
    CModalAnswer discard(Press(QMessageBox::Discard));
    Trigger("qtNewAction");
    ASSERT_TRUE(discard.Answered());
    EXPECT_TRUE(Scene().AllNodes().isEmpty());
    EXPECT_FALSE(Window().isWindowModified());

    // Another session finds the file among its recent ones.
    OpenWindowWithoutPlugins();
    EXPECT_EQ(Window().FileMenu()->RecentFiles(), QStringList{path});
}

} // namespace KV::test
