// How the sandbox hosts a plug-in: where its section, menus, tool bar, context commands and hot
// keys go, the user's own keys kept, and what it says when a plug-in cannot be loaded.

#include "SandboxTest.h"

#include "CHostCallsPanel.h"
#include "CModifyPanel.h"
#include "CPluginHost.h"
#include "CViewport.h"
#include "host/KVPluginInterface.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeySequenceEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace KV::test {

namespace {

/// The object names of the visible actions in the menu, its sub-menus included.
QStringList ActionNames(const QMenu* menu)
{
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (action->isVisible())
            names << action->objectName()
                  << (action->menu() != nullptr ? ActionNames(action->menu()) : QStringList());
    }
    return names;
}

QString Native(const char* keys)
{
    return QKeySequence(QLatin1String(keys)).toString(QKeySequence::NativeText);
}

} // namespace

TEST_F(SandboxTest, StartedPluginHasItsSectionMenusToolBarContextCommandsAndKeysPlaced)
{
    OpenWindow();
    // Modify panel, tab 0: the sandbox's Object section above the plug-in's (id 336).
    const QList<CPluginHost::CSection> sections = Window().Plugins()->Sections();
    ASSERT_EQ(sections.size(), 1);
    EXPECT_EQ(sections[0].panel, CModifyPanel::kPanelId);
    EXPECT_EQ(sections[0].id, 336);
    EXPECT_EQ(Window().ModifyPanel()->SectionWidgets(0),
              (QList<QWidget*>{Find<QWidget>(QStringLiteral("qtObjectSection")),
                               sections[0].widget.data()}));
    EXPECT_EQ(Window().ModifyPanel()->tabText(0), QStringLiteral("Attribute"));

    // The plug-in's Edit menu joins the sandbox's instead of making a second Edit title.
    int editTitles = 0;
    for (QAction* action : Window().menuBar()->actions())
        editTitles += action->text().remove(QLatin1Char('&')) == QStringLiteral("Edit") ? 1 : 0;
    EXPECT_EQ(editTitles, 1);
    EXPECT_TRUE(ActionNames(Find<QMenu>(QStringLiteral("qtSandboxEditMenu")))
                    .contains(QStringLiteral("qtLinkAction")));
    auto* toolBar = Find<QToolBar>(QStringLiteral("qtGeneralToolBar"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_NE(toolBar->findChild<QToolButton*>(QStringLiteral("qtLinkMenuAction")), nullptr);

    // The viewport's context menu holds the plug-in's commands for what was clicked.
    auto contextMenu = [&](const char* name) {
        QTest::mouseClick(Window().Viewport(), Qt::RightButton, Qt::NoModifier,
                          Window().Viewport()->NodePosition(Node(QLatin1String(name))));
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    };
    QMenu* menu = contextMenu("Hat");
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(ActionNames(menu).contains(QStringLiteral("qtCUnlinkAction")));
    Trigger("qtCUnlinkAction");
    menu->close();
    EXPECT_EQ(ParentName(QStringLiteral("Hat")), QString());

    // Registered keys work anywhere in the window; the section key brings the section back.
    ClickNode(QStringLiteral("Sword"));
    QTest::keyClick(&Window(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_EQ(Scene().PickMode(), ePickNone);
    sections[0].section->SetSectionExpandState(false);
    QTest::keyClick(&Window(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(sections[0].section->GetSectionExpandState());
}

TEST_F(SandboxTest, HotKeysDialogListsThePluginsActionsAndKeepsTheKeysTheUserChanges)
{
    OpenWindow();
    QStringList listed;
    QString linkRow;
    CModalAnswer answer([&](QDialog* dialog) {
        auto* table = dialog->findChild<QTreeWidget*>(QStringLiteral("qtHotKeyTable"));
        QTreeWidgetItem* link = nullptr;
        for (int i = 0; i < table->topLevelItemCount(); ++i) {
            listed << table->topLevelItem(i)->toolTip(2);
            if (listed.last() == QLatin1String("qtLinkAction"))
                link = table->topLevelItem(i);
        }
        ASSERT_NE(link, nullptr);
        linkRow = QStringList{link->text(0), link->text(1), link->text(3)}.join(QLatin1Char('|'));
        // The key edit takes a key once the user has stopped typing for a moment.
        table->setCurrentItem(link);
        QTest::keyClick(dialog->findChild<QKeySequenceEdit*>(QStringLiteral("qtHotKeyEdit")),
                        Qt::Key_J, Qt::ControlModifier);
        EXPECT_TRUE(WaitUntil([&] { return link->text(3) == Native("Ctrl+J"); }));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>(QStringLiteral("qtHotKeyButtons"))
                              ->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    Trigger("qtHotKeysAction");
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(listed, (QStringList{"qtLinkageSectionHotkey", "qtLinkAction", "qtUnlinkAction",
                                   "qtEscHotkey"}));
    // The category's levels without the "[Hot Key]" that each of them repeats.
    EXPECT_EQ(linkRow,
              QStringLiteral("Modify › Attribute › Linkage|KVLinkagePlugin|") + Native("Ctrl+L"));
    Window().Settings()->sync();
    EXPECT_EQ(QSettings(SettingsFile(), QSettings::IniFormat)
                  .value(QStringLiteral("HotKeys/KVLinkagePlugin/qtLinkAction"))
                  .toString(),
              QStringLiteral("Ctrl+J"));

    // The next session starts with the user's key.
    OpenWindow();
    ClickNode(QStringLiteral("Sword"));
    QTest::keyClick(&Window(), Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(Scene().PickMode(), ePickParent);
}

TEST_F(SandboxTest, APluginThatDoesNotLoadIsReportedInSightAndTheSandboxStillRuns)
{
    // Why Qt refuses which file is the loader's to say; the sandbox shows what it says.
    QDir(TempPath(QString())).mkpath(QStringLiteral("empty"));
    const std::pair<QString, QString> cases[] = {
        {TempPath(QStringLiteral("gone/libKVLinkageSection.so")),
         TempPath(QStringLiteral("gone/libKVLinkageSection.so"))},
        {TempPath(QStringLiteral("empty")), TempPath(QStringLiteral("empty/KVLinkageSection"))},
    };
    for (const auto& [path, requested] : cases) {
        SCOPED_TRACE(path.toStdString());
        OpenWindow(path);
        EXPECT_TRUE(Window().Plugins()->LoadedFiles().isEmpty());
        const QString report = Window().Plugins()->Messages().value(0);
        EXPECT_TRUE(report.startsWith(QStringLiteral("Plug-in %1 did not load: ").arg(requested)))
            << report.toStdString();
        EXPECT_TRUE(Window().HostCalls()->VisibleLines().join(QLatin1Char('\n')).contains(report));
        // Opening the sample scene afterwards does not push the report out of sight.
        EXPECT_EQ(StatusText(), report);
        EXPECT_NE(Scene().FindByName(QStringLiteral("Sword")), nullptr);
        EXPECT_EQ(Window().ModifyPanel()->SectionWidgets(0).size(), 1);
    }
}

} // namespace KV::test
