// How the sandbox hosts a plug-in: what it loads, where the plug-in's UI goes, and what it says
// when a plug-in cannot be loaded.

#include "SandboxTest.h"

#include "CHostCallsPanel.h"
#include "CModifyPanel.h"
#include "COutliner.h"
#include "CPluginHost.h"
#include "CViewport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPluginLoader>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace KV::test {

namespace {

/// The object names of every action in the menu, its sub-menus included.
QStringList ActionNames(const QMenu* menu, bool visibleOnly = false)
{
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (visibleOnly && !action->isVisible())
            continue;
        names << action->objectName();
        if (action->menu() != nullptr)
            names << ActionNames(action->menu(), visibleOnly);
    }
    return names;
}

QMenu* OpenContextMenuOn(SandboxTest* test, CViewport* viewport, UB::CHandle* node)
{
    Q_UNUSED(test)
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, viewport->NodePosition(node));
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

} // namespace

using PluginHostingTest = SandboxWithPluginTest;

TEST_F(PluginHostingTest, StartedPluginGetsItsSectionMenusToolBarAndHotKeysPlaced)
{
    OpenWindow();
    ASSERT_EQ(Window().Plugins()->LoadedFiles().size(), 1);

    // Modify panel, tab 0: the sandbox's Object section (id 100) above the plug-in's (id 336).
    const QList<CPluginHost::CSection> sections = Window().Plugins()->Sections();
    ASSERT_EQ(sections.size(), 1);
    EXPECT_EQ(sections[0].panel, CModifyPanel::kPanelId);
    EXPECT_EQ(sections[0].tab, 0);
    EXPECT_EQ(sections[0].id, 336);
    const QList<QWidget*> stacked = Window().ModifyPanel()->SectionWidgets(0);
    ASSERT_EQ(stacked.size(), 2);
    EXPECT_EQ(stacked[0]->objectName(), QStringLiteral("qtObjectSection"));
    EXPECT_EQ(stacked[1], sections[0].widget.data());
    EXPECT_TRUE(Window().ModifyPanel()->isAncestorOf(sections[0].widget));
    EXPECT_EQ(Window().ModifyPanel()->tabText(0), QStringLiteral("Attribute"));

    // The plug-in's Edit menu joins the sandbox's instead of making a second Edit title.
    int editTitles = 0;
    for (QAction* action : Window().menuBar()->actions())
        editTitles += action->text().remove(QLatin1Char('&')) == QStringLiteral("Edit") ? 1 : 0;
    EXPECT_EQ(editTitles, 1);
    EXPECT_TRUE(ActionNames(Find<QMenu>(QStringLiteral("qtSandboxEditMenu")))
                    .contains(QStringLiteral("qtLinkAction")));

    // The general tool bar, with the split link button in place of its placeholder.
    auto* toolBar = Find<QToolBar>(QStringLiteral("qtGeneralToolBar"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->parentWidget(), &Window());
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_NE(toolBar->findChild<QToolButton*>(QStringLiteral("qtLinkMenuAction")), nullptr);

    // Registered actions carry the key map's keys and work anywhere in the window.
    auto* link = Action(QStringLiteral("qtLinkAction"));
    auto* esc = Action(QStringLiteral("qtEscHotkey"));
    ASSERT_NE(link, nullptr);
    ASSERT_NE(esc, nullptr);
    EXPECT_EQ(link->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    EXPECT_EQ(esc->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_TRUE(Window().actions().contains(link));
    EXPECT_TRUE(Window().actions().contains(esc));
}

TEST_F(PluginHostingTest, ContextMenusOfViewportAndOutlinerOfferThePluginsCommands)
{
    OpenWindow();

    // The sword (type 41) may be linked to the camera; the hat may not, but it has a parent.
    QMenu* menu = OpenContextMenuOn(this, Window().Viewport(), Node(QStringLiteral("Sword")));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("qtObjectContextMenu"));
    QStringList offered = ActionNames(menu, true);
    EXPECT_TRUE(offered.contains(QStringLiteral("qtCLinkToAction")));
    EXPECT_TRUE(offered.contains(QStringLiteral("qtCLinkToCameraAction")));
    EXPECT_FALSE(offered.contains(QStringLiteral("qtCUnlinkAction")));
    menu->close();

    menu = OpenContextMenuOn(this, Window().Viewport(), Node(QStringLiteral("Hat")));
    ASSERT_NE(menu, nullptr);
    offered = ActionNames(menu, true);
    EXPECT_FALSE(offered.contains(QStringLiteral("qtCLinkToCameraAction")));
    ASSERT_TRUE(offered.contains(QStringLiteral("qtCUnlinkAction")));
    Action(QStringLiteral("qtCUnlinkAction"))->trigger();
    menu->close();
    EXPECT_EQ(ParentName(QStringLiteral("Hat")), QString());

    // The outliner's context menu holds the same commands. Its rows are rebuilt after every
    // scene change, so each is looked up after the events have run.
    COutliner* outliner = Window().Outliner();
    auto swordRow = [&] {
        QCoreApplication::processEvents();
        QTreeWidgetItem* item = outliner->ItemOf(Node(QStringLiteral("Sword")));
        outliner->scrollToItem(item);
        return outliner->visualItemRect(item).center();
    };
    QTest::mouseClick(outliner->viewport(), Qt::LeftButton, Qt::NoModifier, swordRow());
    QTest::mouseClick(outliner->viewport(), Qt::RightButton, Qt::NoModifier, swordRow());
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(ActionNames(menu, true).contains(QStringLiteral("qtCLinkToCameraAction")));
    menu->close();
}

TEST_F(SandboxTest, PluginsThatDoNotLoadAreReportedWithQtsReasonAndTheSandboxStillStarts)
{
    // Qt remembers a library that failed and words a second failure differently, so Qt's own
    // reason is taken from an identical twin of each request, under another name.
    QDir folder(TempPath(QString()));
    folder.mkpath(QStringLiteral("empty"));
    folder.mkpath(QStringLiteral("empty-twin"));
    for (const char* name : {"libnotaplugin.so", "libnotaplugin-twin.so"}) {
        QFile notElf(TempPath(QLatin1String(name)));
        ASSERT_TRUE(notElf.open(QIODevice::WriteOnly));
        notElf.write("this is text, not a library");
    }
    const QString otherQtPlugin = QLibraryInfo::location(QLibraryInfo::PluginsPath) +
                                  QStringLiteral("/imageformats/libqsvg.so");

    struct CCase
    {
        const char* what;
        QString path;
        QString requested; // what the sandbox asks Qt to load for that path
        QString twin;      // the same request under another name
    };
    const CCase cases[] = {
        {"a file that is not there", TempPath(QStringLiteral("gone/libKVLinkageSection.so")),
         TempPath(QStringLiteral("gone/libKVLinkageSection.so")),
         TempPath(QStringLiteral("gone-twin/libKVLinkageSection.so"))},
        {"a folder with no library", TempPath(QStringLiteral("empty")),
         TempPath(QStringLiteral("empty/KVLinkageSection")),
         TempPath(QStringLiteral("empty-twin/KVLinkageSection"))},
        {"a file that is no library", TempPath(QStringLiteral("libnotaplugin.so")),
         TempPath(QStringLiteral("libnotaplugin.so")),
         TempPath(QStringLiteral("libnotaplugin-twin.so"))},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        QPluginLoader twin(c.twin);
        ASSERT_FALSE(twin.load());
        const QString expected = QStringLiteral("Plug-in %1 did not load: %2")
                                     .arg(QDir::toNativeSeparators(c.requested),
                                          twin.errorString().replace(c.twin, c.requested));

        OpenWindow(c.path);
        EXPECT_TRUE(Window().Plugins()->LoadedFiles().isEmpty());
        EXPECT_TRUE(Window().Plugins()->Messages().contains(expected))
            << "expected: " << expected.toStdString() << "\nreported: "
            << Window().Plugins()->Messages().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(
            Window().HostCalls()->VisibleLines().join(QLatin1Char('\n')).contains(expected));
        // Opening the sample scene afterwards does not push the report out of sight.
        EXPECT_EQ(StatusText(), expected);
        // The sandbox runs on: sample scene open, only its own section in the Modify panel.
        EXPECT_NE(Scene().FindByName(QStringLiteral("Sword")), nullptr);
        EXPECT_EQ(Window().ModifyPanel()->SectionWidgets(0).size(), 1);
    }

    if (QFile::exists(otherQtPlugin)) {
        SCOPED_TRACE("a Qt plug-in of another kind");
        OpenWindow(otherQtPlugin);
        EXPECT_TRUE(Window().Plugins()->LoadedFiles().isEmpty());
        EXPECT_TRUE(Window()
                        .Plugins()
                        ->Messages()
                        .join(QLatin1Char('\n'))
                        .contains(QStringLiteral("is a Qt plug-in but not a Korvel plug-in")));
        EXPECT_EQ(Window().ModifyPanel()->SectionWidgets(0).size(), 1);
    }
}

} // namespace KV::test
