// Start-up against the scene model, and what the host sees afterwards: its hot-key
// registrations, the general tool bar's split link button, the menus, the Linkage section under
// its window, and the answers to its list queries. Start-up that cannot finish ends with its
// code, leaves what already ran in place, and never crashes.

#include "PluginHostTest.h"
#include "support/Journal.h"

#include "host/KVWidgetBuilder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

namespace {

// Records what it is asked for in the "QObject" context and answers with a marked text, so
// that the host can be seen to receive the translation.
class RecordingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        requests << QStringLiteral("%1 [%2]").arg(
            QLatin1String(sourceText), QLatin1String(QByteArray(disambiguation).toHex()));
        return QStringLiteral("<%1>").arg(QLatin1String(sourceText));
    }
    bool isEmpty() const override { return false; }

    mutable QStringList requests;
};

QString Names(const QList<QAction*>& actions)
{
    QStringList names;
    for (const QAction* action : actions)
        names << (action->menu() ? action->menu()->objectName() : action->objectName());
    return names.join(QLatin1Char(' '));
}

using PluginStartup = PluginHostTest;

TEST_F(PluginStartup, RegistersTranslatedHotKeysAndBuildsTheCommandsAndTheSection)
{
    RecordingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const UB::Result result = InitializeFrom();
    QCoreApplication::removeTranslator(&translator);
    ASSERT_EQ(result, UB::kOk);

    // The category texts are translated with the disambiguations the host's translators know
    // them by, in Big5: once for the plug-in's category, once for the section's.
    const auto request = [](const char* source, const char* note) {
        QTextCodec* big5 = QTextCodec::codecForName("Big5");
        return QStringLiteral("%1 [%2]").arg(
            QLatin1String(source),
            QLatin1String(big5->fromUnicode(QString::fromUtf8(note)).toHex()));
    };
    const QStringList once{
        request("[Hot Key] Modify", "Modify Panel hot key在Hot Key Manager顯示的名稱"),
        request("[Hot Key] Attribute", "Attribute tab hot key在Hot Key Manager顯示的名稱"),
        request("[Hot Key] Linkage", "Linkage section hot key在Hot Key Manager顯示的名稱")};
    EXPECT_EQ(translator.requests, once + once);

    // The section registers its own category and Esc between the plug-in's category and the
    // plug-in's three actions; every call fetches the hot-key manager anew.
    const QString hotKeys = QStringLiteral("GetHotKeyManager");
    const QString category = QStringLiteral("RegisterHotKeyCategory");
    const QString action = QStringLiteral("RegisterHotKeyAction");
    QStringList calls{hotKeys, category, hotKeys, category};
    for (int i = 0; i < 4; ++i)
        calls << hotKeys << action;
    EXPECT_EQ(JournalCalls(*scene, {hotKeys, category, action}), calls);
    const QString path =
        QStringLiteral("\"<[Hot Key] Modify>/<[Hot Key] Attribute>/<[Hot Key] Linkage>\"");
    const QString registered = QStringLiteral("RegisterHotKeyAction(0x10000000%1, %2, null, "
                                              "null, 0) -> 0");
    EXPECT_EQ(scene->JournalLines({category, action}),
              (QStringList{
                  QStringLiteral("RegisterHotKeyCategory(%1, \"KVLinkagePlugin\") -> 0").arg(path),
                  QStringLiteral("RegisterHotKeyCategory(%1, \"KVLinkageSection\") -> 0").arg(path),
                  registered.arg(2).arg(QStringLiteral("qtEscHotkey")),
                  registered.arg(1).arg(QStringLiteral("qtLinkageSectionHotkey")),
                  registered.arg(1).arg(QStringLiteral("qtLinkAction")),
                  registered.arg(1).arg(QStringLiteral("qtUnlinkAction"))}));

    // The split button takes the place of the tool bar's placeholder, off until the first host
    // event (its drop-down, icon and tool tip are korvel-plugincheck's start-up checks).
    QToolBar* toolBar = GeneralToolBar();
    ASSERT_EQ(toolBar->actions().size(), 1);
    EXPECT_EQ(toolBar->widgetForAction(toolBar->actions().first()), LinkToolButton());
    EXPECT_FALSE(LinkToolButton()->icon().isNull());
    EXPECT_TRUE(Commands().startsWith(QStringLiteral("button- link- unlink- |")))
        << Commands().toStdString();

    // The menus the host gets.
    QList<QMenu*> menus;
    EXPECT_EQ(plugin->GetMenusList(menus), UB::kOk);
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->objectName() + ": " + Names(menus[0]->actions()),
              QStringLiteral("qtEditMenu: qtLinkMenu"));
    EXPECT_EQ(menus[1]->objectName() + ": " + Names(menus[1]->actions()),
              QStringLiteral("qtContextMenu: qtCLinkMenu"));
    EXPECT_EQ(Names(Find<QMenu>("qtLinkMenu")->actions()),
              QStringLiteral("qtLinkAction qtUnlinkAction"));
    EXPECT_EQ(Names(Find<QMenu>("qtCLinkMenu")->actions()),
              QStringLiteral("qtCLinkToAction qtCLinkToCameraAction qtCUnlinkAction"));

    // The section lies under the host window, Esc off, its expand button folding its body.
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->parentWidget(), &window);
    EXPECT_FALSE(Find<QAction>("qtEscHotkey")->isEnabled());
    ShowInHostWindow();
    auto* body = Find<QGroupBox>("qtSectionGroupBox");
    ASSERT_TRUE(body->isVisible());
    Find<QPushButton>("qtExpandPushButton")->click();
    EXPECT_FALSE(body->isVisible());
}

TEST_F(PluginStartup, ToolBarListGetsTheGeneralToolBarAppendedAndNullOnceItIsGone)
{
    ASSERT_EQ(InitializeFrom(), UB::kOk);
    QList<QAction*> contextActions;
    EXPECT_EQ(plugin->GetContextList(contextActions), UB::kOk);
    EXPECT_TRUE(contextActions.isEmpty());
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

TEST_F(PluginStartup, SectionHotkeyAsksTheHostToShowTheSectionOnlyWhileItIsVisible)
{
    ASSERT_EQ(InitializeFrom(), UB::kOk);
    QAction* hotkey = Find<QAction>("qtLinkageSectionHotkey");
    QSignalSpy showRequests(scene.get(), &KV::CSceneModel::SectionShowRequested);

    scene->ClearJournal();
    hotkey->trigger();
    EXPECT_TRUE(scene->Journal().isEmpty()) << scene->JournalLines().join('\n').toStdString();

    ShowInHostWindow();
    scene->ClearJournal();
    hotkey->trigger();
    EXPECT_EQ(scene->JournalLines({QStringLiteral("ShowSection")}),
              QStringList{QStringLiteral("ShowSection(4, 0, 336) -> 0")});
    EXPECT_EQ(showRequests.count(), 1);
}

TEST_F(PluginStartup, StartUpThatCannotFinishEndsWithItsCodeAndKeepsWhatRan)
{
    QTemporaryDir emptyFolder;
    const QDir broken(QStringLiteral(KV_BROKEN_PLUGIN_DIRS));
    struct Case
    {
        QString folder;
        UB::Result code;
        bool hostTouched; // a hot-key category registered, the split button built
    };
    const Case cases[] = {
        {emptyFolder.path(), KV::CAbstractPlugin::kResourceNotLoaded, false},
        {broken.filePath(QStringLiteral("unloadable-actions")),
         KV::CWidgetBuilder::kLayoutNotLoaded, false},
        {broken.filePath(QStringLiteral("incomplete-actions")), UB::kNotCreated, false},
        {broken.filePath(QStringLiteral("unloadable-section")),
         KV::CWidgetBuilder::kLayoutNotLoaded, true},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        const std::string folder = QDir(c.folder).dirName().toStdString();

        EXPECT_EQ(InitializeFrom(c.folder), c.code) << folder;

        QList<KV::CSectionInterface*> sections;
        EXPECT_EQ(plugin->GetSectionList(sections), UB::kOk);
        EXPECT_TRUE(c.hostTouched || sections == QList<KV::CSectionInterface*>{nullptr}) << folder;
        EXPECT_EQ(scene->HotKeyCategories().size(), c.hostTouched ? 1 : 0) << folder;
        EXPECT_EQ(LinkToolButton() != nullptr, c.hostTouched) << folder;
        EXPECT_TRUE(c.hostTouched || scene->Journal().isEmpty()) << folder;
        // Nothing listens to the host: a new selection makes no call.
        scene->ClearJournal();
        scene->SetSelection({AddObject(QStringLiteral("Box"), 1)});
        EXPECT_TRUE(scene->JournalLines({QStringLiteral("GetSelectedObjects")}).isEmpty())
            << folder;
    }
    // The steps before the section stay done: the plug-in's category, without its actions.
    EXPECT_EQ(scene->HotKeyCategories()[0].owner, QStringLiteral("KVLinkagePlugin"));
    EXPECT_TRUE(scene->HotKeyCategories()[0].actions.isEmpty());

    // Without a host nothing is built, by the plug-in or by a section on its own.
    EXPECT_EQ(plugin->Initialize(QStringLiteral(KV_PLUGIN_DIR), QString(), nullptr), UB::kNoHost);
    auto* lone = new KV::CLinkageSection(&window);
    EXPECT_EQ(lone->Initialize(QStringLiteral(KV_PLUGIN_DIR), QString(), nullptr), UB::kNoHost);
    EXPECT_EQ(lone->findChild<QWidget*>(QStringLiteral("Linkage")), nullptr);
    EXPECT_TRUE(lone->CanLink({}));
    EXPECT_FALSE(lone->CanLink({AddObject(QStringLiteral("Box"), 1)}));
}

} // namespace
