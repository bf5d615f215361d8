// The Link commands and the Linkage section follow the host: the selection, its types and
// links, the pick and dialog modes and playback decide which commands are enabled and shown,
// and what the section shows, enables and fills.

#include "PluginHostTest.h"
#include "host/KVEvents.h"
#include "support/Journal.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QSignalBlocker>

#include <functional>

namespace {

const QString allOn = QStringLiteral("button+ link+ unlink+ | linkTo+ camera+ unlink+");
const QString unlinkedProp = QStringLiteral("button+ link+ unlink- | linkTo+ camera+ unlink-");
const QString several = QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+");
const QString off = QStringLiteral("button- link- unlink- | linkTo- camera- unlink-");
// The lantern's section with the body disabled, as playback leaves it: a state no refresh
// gives, so that a widget the refresh does not touch shows it.
const QString primed =
    QStringLiteral("shown body- | 'Table'+ pick+ unlink+ camera:shown+ subNode+");
const UB::Result failure{UB::ToCode(0x80004005u)};

class CommandState : public PluginHostTest
{
protected:
    void SetUp() override
    {
        PluginHostTest::SetUp();
        ASSERT_EQ(InitializeFrom(), UB::kOk);
        ShowInHostWindow();
        table = AddObject(QStringLiteral("Table"), 1);
        lantern = AddObject(QStringLiteral("Lantern"), 41, table);
        cup = AddObject(QStringLiteral("Cup"), 1, table);
        plate = AddObject(QStringLiteral("Plate"), 41, table);
        locked = AddObject(QStringLiteral("Locked"), 41, table);
        scene->Desc(locked).linkBlocked = true;
        bowl = AddObject(QStringLiteral("Bowl"), 1, AddObject(QStringLiteral("Table"), 1));
        book = AddObject(QStringLiteral("Book"), 1, AddObject(QStringLiteral("Shelf"), 1));
        spoon = AddObject(QStringLiteral("Spoon"), 1, AddObject(QStringLiteral("table"), 1));
        mug = AddObject(QStringLiteral("Mug"), 1, AddObject(QString(), 1));
        hat = AddObject(QStringLiteral("Hat"), 1, AddObject(QStringLiteral("Rig"), 18));
        coat = AddObject(QStringLiteral("Coat"), 1, AddObject(QStringLiteral("Rack"), 19));
        UB::CHandle* vault = AddObject(QStringLiteral("Vault"), 1);
        scene->Desc(vault).subNodeLinkExcluded = true;
        scarf = AddObject(QStringLiteral("Scarf"), 1, vault);
        torch = AddObject(QStringLiteral("Torch"), 41);
        wick = scene->AddNode(torch, {QStringLiteral("Wick"), 41});
        box = AddObject(QStringLiteral("Box"), 1);
        latch = AddObject(QStringLiteral("Latch"), 1);
        scene->Desc(latch).linkBlocked = true;
        light = AddObject(QStringLiteral("Light"), 6);
        fixed = AddObject(QStringLiteral("Fixed"), 1);
        scene->Desc(fixed).linkDisabled = true;
    }

    // Back to a quiet host with the lantern selected, so that each case starts from the same
    // state and a refresh that did nothing shows.
    void Reset()
    {
        scene->ClearFaults();
        scene->Stop();
        scene->SetDialogMode(0);
        scene->ChangePickMode(0);
        scene->SetSelection({lantern});
        section->EnableSection(false);
        ASSERT_EQ(Commands(), allOn);
        ASSERT_EQ(SectionState(), primed);
    }

    UB::CHandle *table, *lantern, *cup, *plate, *locked, *bowl, *book, *spoon, *mug, *hat, *coat,
        *scarf, *torch, *wick, *box, *latch, *light, *fixed;
};

// The one rule for which objects may take part in linking, used by every command and refresh.
TEST_F(CommandState, OnlyObjectsOfLinkableTypesWhoseLinkingIsAllowedCanBeLinked)
{
    const QSet<int> linkable = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                19, 21, 23, 24, 25, 41, 45, 46, 54};
    for (int type = -1; type <= 60; ++type) {
        UB::CHandle* object = AddObject(QStringLiteral("Object%1").arg(type), type);
        EXPECT_EQ(section->CanLink({object}), linkable.contains(type)) << "type " << type;
    }
    EXPECT_FALSE(section->CanLink({AddObject(QStringLiteral("Huge"), 1000)}));
    EXPECT_TRUE(section->CanLink({}));
    EXPECT_TRUE(section->CanLink({box, lantern}));
    EXPECT_FALSE(section->CanLink({box, fixed, lantern}));

    // The first refused object ends the test: nothing after it is asked about.
    scene->ClearJournal();
    EXPECT_FALSE(section->CanLink({box, light, lantern}));
    EXPECT_EQ(
        scene->JournalLines({QStringLiteral("GetObjectType"), QStringLiteral("IsLinkDisabled")}),
        (QStringList{QStringLiteral("GetObjectType(Box) -> 0"),
                     QStringLiteral("IsLinkDisabled(Box) -> 0"),
                     QStringLiteral("GetObjectType(Light) -> 0")}));

    // A type that cannot be read refuses the object; a failed IsLinkDisabled reads as allowed.
    scene->InjectFault(QStringLiteral("GetObjectType"), failure.code);
    EXPECT_FALSE(section->CanLink({box}));
    scene->ClearFaults();
    scene->InjectFault(QStringLiteral("IsLinkDisabled"), failure.code);
    EXPECT_TRUE(section->CanLink({box}));
}

TEST_F(CommandState, CommandsAndSectionMatchWhatTheHostAllows)
{
    // After the host's events and then after a refresh: the commands, the code of the
    // commands' refresh and, where it differs, the commands after it; the section and the code
    // of its update. An empty text is not looked at.
    struct Situation
    {
        const char* name;
        QVector<UB::CHandle*> selection;
        std::function<void()> hostChange;
        QString commands;
        UB::Result code;
        QString refreshed;
        QString state;
        UB::Result sectionCode;
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
    const QString linkedBox = QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+");
    const QString hidden =
        QStringLiteral("hidden body+ | 'Table'+ pick+ unlink+ camera:shown+ subNode+");
    const QString lone = QStringLiteral("shown body+ | ''- pick+ unlink- camera:%1+ subNode-");
    const QString blocked = QStringLiteral("shown body+ | ''- pick- unlink- camera:%1- subNode-");
    const QString linked = QStringLiteral("shown body+ | '%1'+ pick+ unlink+ camera:%2+ %3");
    const QString many =
        QStringLiteral("shown body+ | '%1'%2 pick+ unlink+ camera:hidden+ subNode-");
    const auto boxOn = [&](const char* parent, const char* subNode) {
        return linked.arg(parent, "hidden", subNode);
    };
    const QString onTable = boxOn("Table", "subNode+");
    const QString propOn = linked.arg("Table", "shown", "subNode+");
    const QString shared = many.arg("Table", "+");
    const QString unshared = many.arg("", "-");
    const auto play = [this] {
        scene->Play();
    };
    const UB::Result ok = UB::kOk;
    const UB::Result no = UB::kNothingDone;
    const Situation situations[] = {
        {"nothing selected", {}, {}, off, no, {}, hidden, no},
        {"a linked prop", {lantern}, {}, allOn, ok, {}, propOn, ok},
        // Parts of objects are not linked on their own.
        {"a linked prop and a part", {lantern, wick}, {}, allOn, ok, {}, {}, ok},
        {"a prop alone", {torch}, {}, unlinkedProp, ok, {}, lone.arg("shown"), ok},
        {"a box alone", {box}, {}, {}, ok, {}, lone.arg("hidden"), ok},
        {"a linked box", {cup}, {}, linkedBox, ok, {}, onTable, ok},
        {"a linked box and a part", {cup, wick}, {}, linkedBox, ok, {}, onTable, ok},
        {"a box linked to type 18", {hat}, {}, {}, ok, {}, boxOn("Rig", "subNode-"), ok},
        {"a box linked to type 19", {coat}, {}, {}, ok, {}, boxOn("Rack", "subNode-"), ok},
        {"a box linked to an excluded", {scarf}, {}, {}, ok, {}, boxOn("Vault", "subNode-"), ok},
        {"a light", {light}, {}, off, no, {}, hidden, ok},
        {"a box whose linking is disabled", {fixed}, {}, off, no, {}, hidden, ok},
        {"a link-blocked prop", {locked}, {}, off, ok, {}, blocked.arg("shown"), ok},
        {"a link-blocked box", {latch}, {}, off, ok, {}, blocked.arg("hidden"), ok},
        {"a prop in pick mode 19", {lantern}, pickMode(19), off, ok, {}, {}, ok},
        {"a prop in pick mode 37", {lantern}, pickMode(37), off, ok, {}, {}, ok},
        {"a prop while picking a parent", {lantern}, pickMode(2), allOn, ok, {}, {}, ok},
        {"a prop in dialog mode 5", {lantern}, dialogMode(5), off, ok, {}, {}, ok},
        {"two unlinked", {torch, box}, {}, several, ok, {}, unshared, ok},
        {"two, one not linkable", {torch, light}, {}, off, no, {}, hidden, ok},
        {"two, one link-blocked", {cup, locked}, {}, several, ok, {}, shared, ok},
        {"two sharing a parent", {cup, plate}, {}, {}, ok, {}, shared, ok},
        {"two, one without a parent", {cup, box}, {}, {}, ok, {}, unshared, ok},
        {"two, parents of one name", {cup, bowl}, {}, {}, ok, {}, shared, ok},
        {"two, parents of two names", {cup, book}, {}, {}, ok, {}, unshared, ok},
        {"two, names differ in case", {cup, spoon}, {}, {}, ok, {}, unshared, ok},
        // A nameless parent gives no name to share: the next parent's name is taken.
        {"three, first parent nameless", {mug, cup, bowl}, {}, {}, ok, {}, shared, ok},
        {"two, a later parent nameless", {cup, mug}, {}, {}, ok, {}, unshared, ok},
        {"two in pick mode 19", {torch, box}, pickMode(19), off, ok, {}, {}, ok},
        {"two in dialog mode 9", {torch, box}, dialogMode(9), off, ok, {}, {}, ok},
        {"two in dialog mode 67", {torch, box}, dialogMode(67), off, ok, {}, {}, ok},
        // Any dialog turns the commands off when it opens; only 9 and 67 keep them off.
        {"two in dialog mode 5", {torch, box}, dialogMode(5), off, ok, several, {}, ok},
        // Playing turns them off, but the rule for several objects does not look at it.
        {"two during playback", {torch, box}, play, off, ok, several, {}, ok},
    };
    for (const Situation& s : situations) {
        Reset();
        scene->SetSelection(s.selection);
        scene->SetCurrentTime(1);
        if (s.hostChange)
            s.hostChange();
        if (!s.commands.isEmpty()) {
            EXPECT_EQ(Commands(), s.commands) << s.name;
        }
        EXPECT_EQ(plugin->UpdateUi().code, s.code.code) << s.name;
        if (!s.commands.isEmpty()) {
            EXPECT_EQ(Commands(), s.refreshed.isEmpty() ? s.commands : s.refreshed) << s.name;
        }
        if (s.state.isEmpty())
            continue;
        EXPECT_EQ(SectionState(), s.state) << s.name;
        EXPECT_EQ(section->UpdateSectionUi().code, s.sectionCode.code) << s.name;
        EXPECT_EQ(SectionState(), s.state) << s.name;
    }
}

TEST_F(CommandState, HostEventsThatMayChangeWhatIsShownRefreshIt)
{
    KV::CEventSender* sender = scene->EventSender();
    KV::CLinkEvent link;
    KV::CAnimationEvent animation;
    KV::CBaseEvent base;
    const auto sending = [sender](auto signal, auto... arguments) {
        return [=] {
            (sender->*signal)(arguments...);
        };
    };
    const auto changed = [&](int type) {
        return sending(&KV::CEventSender::ObjectDataChanged, UB::CArrayList<UB::CHandle*>(),
                       static_cast<KV::EObjectChangedDataType>(type));
    };
    const auto changed2 = [&](KV::CBaseEvent* event) {
        return sending(&KV::CEventSender::ObjectDataChanged2, event);
    };
    using S = KV::CEventSender;
    struct Case
    {
        const char* event;
        std::function<void()> send;
        bool commandsRefresh;
        bool sectionRefreshes;
    };
    const Case cases[] = {
        {"PickedModeChanged", sending(&S::PickedModeChanged, KV::ePickParent, KV::ePickNone), true,
         false},
        {"FileLoaded(scene)", sending(&S::FileLoaded, KV::eFileScene), true, true},
        {"FileLoaded(merge)", sending(&S::FileLoaded, KV::eFileMerge), false, false},
        {"FileLoaded(import)", sending(&S::FileLoaded, KV::eFileImport), false, false},
        {"ObjectSelectionChanged", sending(&S::ObjectSelectionChanged), true, true},
        {"ObjectDeleted", sending(&S::ObjectDeleted, UB::CArrayList<UB::CHandle*>()), true, true},
        {"DialogModeChanged(none)", sending(&S::DialogModeChanged, KV::eDialogNone), true, false},
        {"DialogModeChanged(modal)", sending(&S::DialogModeChanged, KV::eDialogModal), false,
         false},
        {"HierarchyChanged", sending(&S::HierarchyChanged), true, true},
        {"ObjectDataChanged(link)", changed(2), true, false},
        {"ObjectDataChanged(transform)", changed(1), false, false},
        {"ObjectDataChanged(name|link)", changed(6), true, false},
        {"ObjectDataChanged2(link)", changed2(&link), true, true},
        {"ObjectDataChanged2(animation)", changed2(&animation), false, false},
        {"ObjectDataChanged2(base)", changed2(&base), false, false},
        {"ObjectDataChanged2(none)", changed2(nullptr), false, false},
        {"CurrentTimeChanged", sending(&S::CurrentTimeChanged, UBTime(4)), true, true},
        // Both read the playback state, and the host is not playing.
        {"Played", sending(&S::Played), true, false},
        {"Stopped", sending(&S::Stopped), true, false},
    };
    for (const Case& c : cases) {
        scene->SetSelection({});
        {
            // The host selects an object without telling anyone; only the event may show it.
            const QSignalBlocker quiet(sender);
            scene->SetSelection({torch});
        }
        c.send();
        EXPECT_EQ(Commands(), c.commandsRefresh ? unlinkedProp : off) << c.event;
        EXPECT_EQ(!section->isHidden(), c.sectionRefreshes) << c.event;
    }
}

TEST_F(CommandState, FailingHostQueriesLeaveTheirWidgetsAsTheyWere)
{
    struct Case
    {
        const char* call;
        QVector<UB::CHandle*> before;
        QVector<UB::CHandle*> after;
        QString commands;
        UB::Result commandsCode; // of the next refresh
        QString state;
        UB::Result sectionCode;
    };
    // The steps before the failed query ran; several objects read a failed parent query as no
    // parent, and the commands for several objects do not ask it.
    const QString lanternShown =
        QStringLiteral("shown body+ | 'Table'+ pick+ unlink+ camera:shown+ subNode+");
    const QString boxUnlinked = QStringLiteral("button+ link+ unlink- | linkTo+ camera- unlink-");
    const QString boxShown =
        QStringLiteral("shown body+ | ''- pick+ unlink- camera:hidden+ subNode-");
    const QString lanternHidden = QString(lanternShown).replace("shown body", "hidden body");
    const QString twoShown = QString(boxShown).replace("unlink-", "unlink+");
    const Case cases[] = {
        {"GetSelectedObjects", {lantern}, {light}, allOn, failure, lanternShown, failure},
        {"GetSelectedObjects", {light}, {lantern}, off, failure, lanternHidden, failure},
        {"GetLinkParent", {lantern}, {torch}, allOn, failure, lanternShown, UB::kOk},
        {"GetLinkParent", {torch}, {cup}, boxUnlinked, failure, boxShown, UB::kOk},
        {"GetLinkParent", {locked}, {cup}, boxUnlinked, failure, boxShown, UB::kOk},
        {"GetLinkParent", {lantern}, {cup, plate}, several, UB::kOk, twoShown, UB::kOk},
    };
    for (const Case& c : cases) {
        Reset();
        scene->SetSelection(c.before);
        section->EnableSection(false);
        scene->InjectFault(QLatin1String(c.call), failure.code);
        scene->SetSelection(c.after);
        EXPECT_EQ(Commands(), c.commands) << c.call;
        EXPECT_EQ(SectionState(), c.state) << c.call;
        EXPECT_EQ(plugin->UpdateUi().code, c.commandsCode.code) << c.call;
        EXPECT_EQ(section->UpdateSectionUi().code, c.sectionCode.code) << c.call;
    }
    // The section's single-object part hands the parent query's code on.
    EXPECT_EQ(section->UpdateSectionSinglePick(cup), failure);
}

TEST_F(CommandState, PlaybackTurnsTheSectionBodyAndOneObjectsCommandsOffUntilItStops)
{
    auto* body = Find<QGroupBox>("qtSectionGroupBox");
    scene->SetSelection({lantern});
    const QString lanternState = SectionState();

    scene->Play();
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(Commands(), off);
    scene->SetSelection({torch});
    scene->SetCurrentTime(3);
    EXPECT_EQ(Commands(), off);
    EXPECT_EQ(SectionState(), QString(lanternState).replace("body+", "body-"))
        << "the section changed while playing";
    EXPECT_EQ(section->UpdateSectionUi(), UB::kNothingDone);

    // Its parts, called on their own while playing, still offer no commands.
    EXPECT_EQ(section->UpdateSectionSinglePick(cup), UB::kOk);
    EXPECT_EQ(SectionState(),
              QStringLiteral("shown body- | ''- pick- unlink- camera:hidden- subNode-"));
    EXPECT_EQ(section->UpdateSectionMultiPick({cup, plate}), UB::kOk);
    EXPECT_EQ(SectionState(),
              QStringLiteral("shown body- | 'Table'+ pick- unlink- camera:hidden- subNode-"));
    EXPECT_EQ(section->UpdateSectionMultiPick({cup, light}), UB::kNothingDone);
    EXPECT_TRUE(section->isHidden());
    EXPECT_EQ(section->UpdateSectionSinglePick(light), UB::kNothingDone);

    scene->Stop();
    EXPECT_TRUE(body->isEnabled());
    EXPECT_EQ(Commands(), unlinkedProp);
}

TEST_F(CommandState, ANewSelectionEndsPickingAParentBeforeTheRefreshAndLeavesEscOn)
{
    scene->SetSelection({cup});
    Find<QAction>("qtLinkAction")->trigger();
    ASSERT_EQ(scene->PickMode(), 2);
    auto* esc = Find<QAction>("qtEscHotkey");
    ASSERT_TRUE(esc->isEnabled());

    scene->ClearJournal();
    scene->SetSelection({box});

    EXPECT_EQ(scene->PickMode(), 0);
    // The section, connected first, refreshes first. The plug-in then ends the mode, whose
    // change refreshes the commands, and refreshes them for the new selection.
    const QString select = QStringLiteral("GetSelectedObjects");
    EXPECT_EQ(JournalCalls(*scene, {QStringLiteral("EndPickMode"), select}),
              (QStringList{select, QStringLiteral("EndPickMode"), select, select}));
    EXPECT_TRUE(esc->isEnabled()) << "only Esc itself turns Esc off";

    // Other pick modes are the host's to end.
    scene->ChangePickMode(19);
    scene->SetSelection({cup});
    EXPECT_EQ(scene->PickMode(), 19);
}

TEST_F(CommandState, BlockingPickModesDisableTheWholeSection)
{
    scene->SetSelection({cup});
    for (int mode : {11, 19, 22, 23, 37}) {
        scene->ChangePickMode(mode);
        EXPECT_FALSE(section->isEnabled()) << mode;
        scene->ChangePickMode(0);
        EXPECT_TRUE(section->isEnabled()) << mode;
        scene->ChangePickMode(mode);
        scene->ChangePickMode(2);
        EXPECT_TRUE(section->isEnabled()) << mode << " then 2";
    }
    // The update leaves the section's own enabled state to the pick mode.
    scene->ChangePickMode(19);
    scene->SetSelection({box});
    EXPECT_FALSE(section->isEnabled());
}

// Counts the events through which a style sheet restyles a widget.
class CRestyleCounter : public QObject
{
public:
    explicit CRestyleCounter(QWidget* widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
            ++count;
        return false;
    }
};

TEST_F(CommandState, ParentLabelLooksDifferentForObjectsThatTakeNoKeysAndIsRestyledOnlyThen)
{
    // Scrubbing refreshes the section at every frame; a label restyled every time would have
    // the section laid out and painted again for nothing.
    auto* label = Find<QLabel>("label_512");
    scene->SetSelection({cup});
    const QImage keyed = label->grab().toImage();
    UB::CHandle* effect = AddObject(QStringLiteral("Effect"), 14);
    UB::CHandle* sound = AddObject(QStringLiteral("Sound"), 15);
    const auto select = [this](QVector<UB::CHandle*> objects) {
        return [=] {
            scene->SetSelection(objects);
        };
    };
    const auto scrub = [this] {
        for (UBTime time = 1; time <= 3; ++time)
            scene->SetCurrentTime(time);
    };
    struct Step
    {
        const char* name;
        std::function<void()> act;
        bool keys;
        bool restyled;
    };
    const Step steps[] = {
        {"scrubbing", scrub, true, false},
        {"another object with keys", select({box}), true, false},
        {"an object without keys", select({effect}), false, true},
        {"scrubbing", scrub, false, false},
        {"another object without keys", select({sound}), false, false},
        {"several objects", select({cup, box}), false, false},
        {"an object with keys again", select({cup}), true, true},
    };
    CRestyleCounter restyles(label);
    for (const Step& s : steps) {
        restyles.count = 0;
        s.act();
        EXPECT_EQ(label->objectName(),
                  s.keys ? QStringLiteral("label_512") : QStringLiteral("label_512NoKey"))
            << s.name;
        EXPECT_EQ(label->grab().toImage() == keyed, s.keys) << s.name;
        EXPECT_EQ(restyles.count > 0, s.restyled) << s.name;
    }
}

} // namespace
