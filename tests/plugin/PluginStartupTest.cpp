// Start-up against the scene model, and what the host sees afterwards: its hot-key
// registrations and event connections, the general tool bar's split link button, the Linkage
// section under its window, and the answers to its list queries.

#include "PluginHostTest.h"
#include "support/Journal.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

namespace {

QStringList ObjectNames(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* action : actions)
        names.append(action ? action->objectName() : QStringLiteral("null"));
    return names;
}

using PluginStartup = PluginHostTest;

TEST_F(PluginStartup, RegistersTheHotKeysInOrder)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);

    // The section sets itself up (its own category and the Esc action) between the plug-in's
    // category and the plug-in's three actions. Every call fetches the hot-key manager anew.
    const QString hotKeys = QStringLiteral("GetHotKeyManager");
    const QString category = QStringLiteral("RegisterHotKeyCategory");
    const QString action = QStringLiteral("RegisterHotKeyAction");
    QStringList expected{hotKeys, category, hotKeys, category, hotKeys, action};
    for (int i = 0; i < 3; ++i)
        expected << hotKeys << action;
    EXPECT_EQ(JournalCalls(*scene, {hotKeys, category, action}), expected);
    const QString path =
        QStringLiteral("\"[Hot Key] Modify/[Hot Key] Attribute/[Hot Key] Linkage\"");
    EXPECT_EQ(
        scene->JournalLines({category, action}),
        (QStringList{
            QStringLiteral("RegisterHotKeyCategory(%1, \"KVLinkagePlugin\") -> 0").arg(path),
            QStringLiteral("RegisterHotKeyCategory(%1, \"KVLinkageSection\") -> 0").arg(path),
            QStringLiteral("RegisterHotKeyAction(0x100000002, qtEscHotkey, null, null, 0) -> 0"),
            QStringLiteral(
                "RegisterHotKeyAction(0x100000001, qtLinkageSectionHotkey, null, null, 0) -> 0"),
            QStringLiteral("RegisterHotKeyAction(0x100000001, qtLinkAction, null, null, 0) -> 0"),
            QStringLiteral(
                "RegisterHotKeyAction(0x100000001, qtUnlinkAction, null, null, 0) -> 0")}));
}

TEST_F(PluginStartup, SplitLinkButtonTakesThePlaceOfTheToolBarPlaceholder)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    QToolBar* toolBar = GeneralToolBar();
    ASSERT_NE(toolBar, nullptr);
    QAction* link = LayoutAction(QStringLiteral("qtLinkAction"));
    ASSERT_NE(link, nullptr);

    EXPECT_FALSE(ObjectNames(toolBar->actions()).contains(QStringLiteral("qtLinkMenuAction")));
    QToolButton* button = LinkToolButton();
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(toolBar->actions().size(), 1);
    EXPECT_EQ(toolBar->widgetForAction(toolBar->actions().first()), button);
    EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->icon().cacheKey(), link->icon().cacheKey());
    EXPECT_EQ(button->toolTip(), link->toolTip());
    ASSERT_NE(button->menu(), nullptr);
    EXPECT_EQ(ObjectNames(button->menu()->actions()),
              (QStringList{QStringLiteral("qtLinkAction"), QStringLiteral("qtUnlinkAction")}));

    // Until the first host event every command of the link menu is off, the button with them.
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(link->isEnabled());
    EXPECT_FALSE(LayoutAction(QStringLiteral("qtUnlinkAction"))->isEnabled());
}

TEST_F(PluginStartup, SectionIsBuiltUnderTheHostWindow)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    QList<KV::CSectionInterface*> sections;
    ASSERT_EQ(plugin->GetSectionList(sections), UB::kOk);
    ASSERT_EQ(sections.size(), 1);
    KV::CSectionInterface* section = sections.first();
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->GetSectionPanel(), 4);
    EXPECT_EQ(section->GetSectionId(), 336);
    EXPECT_EQ(section->GetSectionTab(), 0);
    QWidget* widget = section->GetSectionWidget();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &window);

    for (const char* name :
         {"qtExpandPushButton", "qtLinkCameraPushButton", "qtPickParent", "qtUnlink"})
        EXPECT_NE(widget->findChild<QPushButton*>(QLatin1String(name)), nullptr) << name;
    EXPECT_NE(widget->findChild<QToolButton*>(QStringLiteral("qtLinkSubNode")), nullptr);
    EXPECT_NE(widget->findChild<QLineEdit*>(QStringLiteral("qtLinkNodeText")), nullptr);
    QAction* esc = widget->findChild<QAction*>(QStringLiteral("qtEscHotkey"));
    ASSERT_NE(esc, nullptr);
    EXPECT_FALSE(esc->isEnabled());
}

TEST_F(PluginStartup, ListQueriesHandOverMenusToolBarAndSectionOnly)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    QDockWidget dock;
    QList<QDockWidget*> docks{&dock};
    EXPECT_EQ(plugin->GetDockWidgetList(docks), UB::kNothingDone);
    EXPECT_EQ(docks, QList<QDockWidget*>{&dock});
    QWidget statusWidget;
    QList<QWidget*> statusWidgets{&statusWidget};
    EXPECT_EQ(plugin->GetStatusBarWidgetList(statusWidgets), UB::kNothingDone);
    EXPECT_EQ(statusWidgets, QList<QWidget*>{&statusWidget});

    QList<QAction*> contextActions;
    EXPECT_EQ(plugin->GetContextList(contextActions), UB::kOk);
    EXPECT_TRUE(contextActions.isEmpty());
    EXPECT_EQ(plugin->GetCompatibleApps(), 7);

    QList<QMenu*> menus;
    EXPECT_EQ(plugin->GetMenusList(menus), UB::kOk);
    QStringList menuNames;
    for (QMenu* menu : menus)
        menuNames << menu->objectName();
    EXPECT_EQ(menuNames,
              (QStringList{QStringLiteral("qtEditMenu"), QStringLiteral("qtContextMenu")}));

    // Entries are appended to what the host already has; a tool bar that is gone still has
    // its entry, as null.
    QToolBar hostToolBar;
    QList<QToolBar*> toolBars{&hostToolBar};
    EXPECT_EQ(plugin->GetToolBarsList(toolBars), UB::kOk);
    ASSERT_EQ(toolBars.size(), 2);
    EXPECT_EQ(toolBars[1]->objectName(), QStringLiteral("qtGeneralToolBar"));
    delete toolBars[1];
    toolBars.clear();
    EXPECT_EQ(plugin->GetToolBarsList(toolBars), UB::kOk);
    EXPECT_EQ(toolBars, QList<QToolBar*>{nullptr});
}

TEST_F(PluginStartup, SectionListHoldsANullEntryBeforeInitializeAndTheSectionAfter)
{
    QList<KV::CSectionInterface*> before;
    EXPECT_EQ(plugin->GetSectionList(before), UB::kOk);
    EXPECT_EQ(before, QList<KV::CSectionInterface*>{nullptr});

    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    QList<KV::CSectionInterface*> after;
    EXPECT_EQ(plugin->GetSectionList(after), UB::kOk);
    ASSERT_EQ(after.size(), 1);
    ASSERT_NE(after.first(), nullptr);
    EXPECT_EQ(after.first()->GetSectionId(), 336);
}

TEST_F(PluginStartup, SectionHotkeyAsksTheHostToShowTheSectionOnlyWhileItIsVisible)
{
    ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
    QAction* hotkey = LayoutAction(QStringLiteral("qtLinkageSectionHotkey"));
    ASSERT_NE(hotkey, nullptr);
    QSignalSpy showRequests(scene.get(), &KV::CSceneModel::SectionShowRequested);

    scene->ClearJournal();
    hotkey->trigger();
    EXPECT_TRUE(scene->Journal().isEmpty()) << scene->JournalLines().join('\n').toStdString();

    ShowInHostWindow();
    ASSERT_TRUE(SectionWidget()->isVisible());
    scene->ClearJournal();
    hotkey->trigger();
    EXPECT_EQ(scene->JournalLines({QStringLiteral("ShowSection")}),
              QStringList{QStringLiteral("ShowSection(4, 0, 336) -> 0")});
    ASSERT_EQ(showRequests.count(), 1);
    EXPECT_EQ(showRequests.first(), (QList<QVariant>{4, 0, 336}));
}

} // namespace
