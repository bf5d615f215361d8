// The Link commands follow the host: the selection, its types and links, the pick and dialog
// modes and playback decide which commands are enabled and which context commands are shown.
//
// The scene of every test:
//   Table <- Lantern (41), Table <- Cup (1), Table <- Locked (41, link-blocked)
//   Torch (41), Box (1), Light (6), Fixed (1, linking disabled)

#include "PluginHostTest.h"
#include "host/KVEvents.h"
#include "plugin/CLinkagePlugin.h"
#include "support/Journal.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <functional>

namespace {

const QString allOn = QStringLiteral("button+ link+ unlink+ | linkTo+ camera+ unlink+");
const QString unlinkedProp = QStringLiteral("button+ link+ unlink- | linkTo+ camera+ unlink-");
const QString linkedBox = QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+");
const QString several = QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+");
const QString off = QStringLiteral("button- link- unlink- | linkTo- camera- unlink-");
const UB::Result failure{UB::ToCode(0x80004005u)};

class PluginCommandState : public PluginHostTest
{
protected:
    // The plug-in's own class rather than the module's copy, so that the code of a refresh can
    // be read.
    QObject* CreatePluginInstance() override
    {
        linkage = new KV::CLinkagePlugin();
        return linkage;
    }

    void SetUp() override
    {
        PluginHostTest::SetUp();
        ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
        table = AddObject(QStringLiteral("Table"), 1);
        lantern = AddObject(QStringLiteral("Lantern"), 41, table);
        cup = AddObject(QStringLiteral("Cup"), 1, table);
        locked = AddObject(QStringLiteral("Locked"), 41, table);
        scene->Desc(locked).linkBlocked = true;
        torch = AddObject(QStringLiteral("Torch"), 41);
        box = AddObject(QStringLiteral("Box"), 1);
        light = AddObject(QStringLiteral("Light"), 6);
        fixed = AddObject(QStringLiteral("Fixed"), 1);
        scene->Desc(fixed).linkDisabled = true;
    }

    // Back to a quiet host with every command on, so that each case starts from the same
    // state and a refresh that did nothing shows.
    void ResetHost()
    {
        scene->ClearFaults();
        scene->Stop();
        scene->SetDialogMode(0);
        scene->ChangePickMode(0);
        scene->SetSelection({lantern});
        ASSERT_EQ(Commands(), allOn);
    }

    KV::CLinkagePlugin* linkage = nullptr;
    UB::CHandle* table = nullptr;
    UB::CHandle* lantern = nullptr;
    UB::CHandle* cup = nullptr;
    UB::CHandle* locked = nullptr;
    UB::CHandle* torch = nullptr;
    UB::CHandle* box = nullptr;
    UB::CHandle* light = nullptr;
    UB::CHandle* fixed = nullptr;
};

TEST_F(PluginCommandState, CommandsMatchWhatTheHostAllows)
{
    struct Situation
    {
        const char* name;
        QVector<UB::CHandle*> selection;
        std::function<void()> hostChange;
        QString commands;  // after the host's events
        UB::Result code;   // of the next refresh
        QString refreshed; // after that refresh, where it differs
    };
    const auto pickMode = [this](int mode) {
        return [=] {
            scene->ChangePickMode(mode);
        };
    };
    const auto dialogMode = [this](int mode) {
        return [=] {
            scene->SetDialogMode(mode);
        };
    };
    const auto play = [this] {
        scene->Play();
    };
    const Situation situations[] = {
        {"nothing selected", {}, {}, off, UB::kNothingDone, {}},
        {"one type-41 object with a parent", {lantern}, {}, allOn, UB::kOk, {}},
        {"one type-41 object without a parent", {torch}, {}, unlinkedProp, UB::kOk, {}},
        {"one linked object of another linkable type", {cup}, {}, linkedBox, UB::kOk, {}},
        {"one object of a type that cannot be linked", {light}, {}, off, UB::kNothingDone, {}},
        {"one object whose linking is disabled", {fixed}, {}, off, UB::kNothingDone, {}},
        {"one link-blocked object", {locked}, {}, off, UB::kOk, {}},
        {"one object in pick mode 19", {lantern}, pickMode(19), off, UB::kOk, {}},
        {"one object in pick mode 37", {lantern}, pickMode(37), off, UB::kOk, {}},
        {"one object while picking a parent", {lantern}, pickMode(2), allOn, UB::kOk, {}},
        {"one object in dialog mode 5", {lantern}, dialogMode(5), off, UB::kOk, {}},
        {"one object during playback", {lantern}, play, off, UB::kOk, {}},
        {"two unlinked objects", {torch, box}, {}, several, UB::kOk, {}},
        {"two objects, one not linkable", {torch, light}, {}, off, UB::kNothingDone, {}},
        {"two objects, one link-blocked", {torch, locked}, {}, several, UB::kOk, {}},
        {"two objects in pick mode 19", {torch, box}, pickMode(19), off, UB::kOk, {}},
        {"two objects in dialog mode 9", {torch, box}, dialogMode(9), off, UB::kOk, {}},
        {"two objects in dialog mode 67", {torch, box}, dialogMode(67), off, UB::kOk, {}},
        // Any dialog turns the commands off when it opens; only 9 and 67 keep them off.
        {"two objects in dialog mode 5", {torch, box}, dialogMode(5), off, UB::kOk, several},
        // Playing turns them off, but the rule for several objects does not look at it.
        {"two objects during playback", {torch, box}, play, off, UB::kOk, several},
    };
    for (const Situation& s : situations) {
        ResetHost();
        scene->SetSelection(s.selection);
        if (s.hostChange)
            s.hostChange();
        EXPECT_EQ(Commands(), s.commands) << s.name;
        EXPECT_EQ(linkage->UpdateUi().code, s.code.code) << s.name;
        EXPECT_EQ(Commands(), s.refreshed.isEmpty() ? s.commands : s.refreshed) << s.name;
    }
}

TEST_F(PluginCommandState, HostEventsThatMayChangeTheCommandsRefreshThem)
{
    KV::CEventSender* sender = scene->EventSender();
    KV::CLinkEvent link;
    KV::CAnimationEvent animation;
    KV::CBaseEvent base;
    const auto changed = [](int type) {
        return static_cast<KV::EObjectChangedDataType>(type);
    };
    struct Case
    {
        const char* event;
        std::function<void()> send;
        bool refreshes;
    };
    const Case cases[] = {
        {"PickedModeChanged",
         [&] { emit sender->PickedModeChanged(KV::ePickParent, KV::ePickNone); }, true},
        {"FileLoaded(scene)", [&] { emit sender->FileLoaded(KV::eFileScene); }, true},
        {"FileLoaded(merge)", [&] { emit sender->FileLoaded(KV::eFileMerge); }, false},
        {"ObjectSelectionChanged", [&] { emit sender->ObjectSelectionChanged(); }, true},
        {"ObjectDeleted", [&] { emit sender->ObjectDeleted({}); }, true},
        {"DialogModeChanged(none)", [&] { emit sender->DialogModeChanged(KV::eDialogNone); }, true},
        {"DialogModeChanged(modal)", [&] { emit sender->DialogModeChanged(KV::eDialogModal); },
         false},
        {"HierarchyChanged", [&] { emit sender->HierarchyChanged(); }, true},
        {"ObjectDataChanged(link)", [&] { emit sender->ObjectDataChanged({}, changed(2)); }, true},
        {"ObjectDataChanged(transform)", [&] { emit sender->ObjectDataChanged({}, changed(1)); },
         false},
        {"ObjectDataChanged(name|link)", [&] { emit sender->ObjectDataChanged({}, changed(6)); },
         true},
        {"ObjectDataChanged2(link)", [&] { emit sender->ObjectDataChanged2(&link); }, true},
        {"ObjectDataChanged2(animation)", [&] { emit sender->ObjectDataChanged2(&animation); },
         false},
        {"ObjectDataChanged2(base)", [&] { emit sender->ObjectDataChanged2(&base); }, false},
        {"ObjectDataChanged2(none)", [&] { emit sender->ObjectDataChanged2(nullptr); }, false},
        {"CurrentTimeChanged", [&] { emit sender->CurrentTimeChanged(4); }, true},
        // Both read the playback state, and the host is not playing.
        {"Played", [&] { emit sender->Played(); }, true},
        {"Stopped", [&] { emit sender->Stopped(); }, true},
    };
    for (const Case& c : cases) {
        scene->SetSelection({});
        {
            // The host selects an object without telling anyone; only the event may show it.
            const QSignalBlocker quiet(sender);
            scene->SetSelection({torch});
        }
        c.send();
        EXPECT_EQ(Commands(), c.refreshes ? unlinkedProp : off) << c.event;
    }
}

TEST_F(PluginCommandState, PlaybackTurnsTheSectionBodyAndOneObjectsCommandsOffUntilItStops)
{
    ShowInHostWindow();
    QWidget* section = SectionWidget();
    auto* body = section->findChild<QGroupBox*>(QStringLiteral("qtSectionGroupBox"));
    auto* parentText = section->findChild<QLineEdit*>(QStringLiteral("qtLinkNodeText"));
    scene->SetSelection({lantern});

    scene->Play();
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(Commands(), off);
    scene->SetSelection({torch});
    scene->SetCurrentTime(3);
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(Commands(), off);
    EXPECT_EQ(parentText->text(), QStringLiteral("Table")) << "the section changed while playing";

    scene->Stop();
    EXPECT_TRUE(body->isEnabled());
    EXPECT_EQ(Commands(), unlinkedProp);
}

TEST_F(PluginCommandState, FailingHostQueriesLeaveTheirCommandsAsTheyWere)
{
    struct Case
    {
        const char* call;
        QVector<UB::CHandle*> before;
        QVector<UB::CHandle*> after;
        QString commands;
    };
    const Case cases[] = {
        {"GetSelectedObjects", {lantern}, {light}, allOn},
        {"GetSelectedObjects", {light}, {lantern}, off},
        // Link To Camera follows the new object; the Unlink commands keep their state.
        {"GetLinkParent", {lantern}, {torch}, allOn},
        {"GetLinkParent",
         {torch},
         {cup},
         QStringLiteral("button+ link+ unlink- | linkTo+ camera- unlink-")},
    };
    for (const Case& c : cases) {
        ResetHost();
        scene->SetSelection(c.before);
        scene->InjectFault(QLatin1String(c.call), failure.code);
        scene->SetSelection(c.after);
        EXPECT_EQ(Commands(), c.commands) << c.call;
        EXPECT_EQ(linkage->UpdateUi().code, failure.code) << c.call;
    }
}

TEST_F(PluginCommandState, ANewSelectionEndsPickingAParentBeforeTheRefreshAndLeavesEscOn)
{
    scene->SetSelection({cup});
    LayoutAction(QStringLiteral("qtLinkAction"))->trigger();
    ASSERT_EQ(scene->PickMode(), 2);
    auto* esc = SectionWidget()->findChild<QAction*>(QStringLiteral("qtEscHotkey"));
    ASSERT_TRUE(esc->isEnabled());

    scene->ClearJournal();
    scene->SetSelection({box});

    EXPECT_EQ(scene->PickMode(), 0);
    const QStringList calls =
        JournalCalls(*scene, {QStringLiteral("EndPickMode"), QStringLiteral("GetSelectedObjects")});
    // The section, connected first, refreshes first. The plug-in then ends the mode, whose
    // change refreshes the commands, and refreshes them for the new selection.
    const QString select = QStringLiteral("GetSelectedObjects");
    EXPECT_EQ(calls, (QStringList{select, QStringLiteral("EndPickMode"), select, select}));
    EXPECT_TRUE(esc->isEnabled()) << "only Esc itself turns Esc off";

    // Other pick modes are the host's to end.
    scene->ChangePickMode(19);
    scene->SetSelection({cup});
    EXPECT_EQ(scene->PickMode(), 19);
}

} // namespace
