// The section follows the host on its own: which widgets it shows, enables and fills for the
// selection, which host events make it look again, and what it leaves alone.
//
// The scene of every test ("<-" is a link to a parent):
//   Table <- Lantern (41), Table <- Cup (1), Table <- Plate (41), Table <- Locked (41,
//   link-blocked); Table' <- Bowl (Table' is another object also called Table); Shelf <- Book;
//   table <- Spoon; "" <- Mug (a parent without a name);
//   Rig (18) <- Hat; Rack (19) <- Coat; Vault (sub-node linking excluded) <- Scarf;
//   Torch (41), Box (1), Latch (1, link-blocked), Light (6), Fixed (1, linking disabled),
//   Effect (14), Sound (15)

#include "LinkageSectionTest.h"
#include "host/KVEvents.h"
#include "support/QtPrinters.h"

#include <QEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include <functional>

namespace {

const UB::Result failure{UB::ToCode(0x80004005u)};

class SectionRefresh : public LinkageSectionTest
{
protected:
    void SetUp() override
    {
        LinkageSectionTest::SetUp();
        ASSERT_EQ(Initialize(), UB::kOk);
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
        box = AddObject(QStringLiteral("Box"), 1);
        latch = AddObject(QStringLiteral("Latch"), 1);
        scene->Desc(latch).linkBlocked = true;
        light = AddObject(QStringLiteral("Light"), 6);
        fixed = AddObject(QStringLiteral("Fixed"), 1);
        scene->Desc(fixed).linkDisabled = true;
    }

    // The section as a user finds it: shown or hidden, its body enabled, the parent's name and
    // whether that field is enabled, then the buttons; "camera:hidden+" is a hidden but enabled
    // button. The buttons' states are their own, as they show once the body is enabled.
    QString State()
    {
        auto* body = Widget<QGroupBox>("qtSectionGroupBox");
        const auto on = [body](QWidget* widget) {
            return widget->isEnabledTo(body) ? QLatin1Char('+') : QLatin1Char('-');
        };
        auto* text = Widget<QLineEdit>("qtLinkNodeText");
        auto* camera = Widget<QPushButton>("qtLinkCameraPushButton");
        return QStringLiteral("%1 body%2 | '%3'%4 pick%5 unlink%6 camera:%7%8 subNode%9")
            .arg(section->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
            .arg(body->isEnabled() ? QLatin1Char('+') : QLatin1Char('-'))
            .arg(text->text())
            .arg(on(text))
            .arg(on(Widget<QPushButton>("qtPickParent")))
            .arg(on(Widget<QPushButton>("qtUnlink")))
            .arg(camera->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
            .arg(on(camera))
            .arg(on(Widget<QToolButton>("qtLinkSubNode")));
    }

    // A state no refresh would give: the lantern's, with the body disabled as playback
    // leaves it. A widget the refresh does not touch keeps it.
    void Prime()
    {
        scene->ClearFaults();
        scene->Stop();
        scene->SetSelection({lantern});
        section->EnableSection(false);
        ASSERT_EQ(State(), primed);
    }

    const QString primed =
        QStringLiteral("shown body- | 'Table'+ pick+ unlink+ camera:shown+ subNode+");
    UB::CHandle* table = nullptr;
    UB::CHandle* lantern = nullptr;
    UB::CHandle* cup = nullptr;
    UB::CHandle* plate = nullptr;
    UB::CHandle* locked = nullptr;
    UB::CHandle* bowl = nullptr;
    UB::CHandle* book = nullptr;
    UB::CHandle* spoon = nullptr;
    UB::CHandle* mug = nullptr;
    UB::CHandle* hat = nullptr;
    UB::CHandle* coat = nullptr;
    UB::CHandle* scarf = nullptr;
    UB::CHandle* torch = nullptr;
    UB::CHandle* box = nullptr;
    UB::CHandle* latch = nullptr;
    UB::CHandle* light = nullptr;
    UB::CHandle* fixed = nullptr;
};

TEST_F(SectionRefresh, WidgetsFollowTheSelectionAndKeepWhatTheRefreshLeavesAlone)
{
    struct Situation
    {
        const char* name;
        QVector<UB::CHandle*> selection;
        bool playing;
        QString state;
        UB::Result code; // of the next update
    };
    const QString hiddenAsBefore =
        QStringLiteral("hidden body+ | 'Table'+ pick+ unlink+ camera:shown+ subNode+");
    const QString linked = QStringLiteral("shown body+ | '%1'+ pick+ unlink+ camera:hidden+ %2");
    const QString several =
        QStringLiteral("shown body+ | '%1'%2 pick+ unlink+ camera:hidden+ subNode-");
    const Situation situations[] = {
        {"playback running", {box}, true, primed, UB::kNothingDone},
        {"nothing selected", {}, false, hiddenAsBefore, UB::kNothingDone},
        {"one object of a type that cannot be linked", {light}, false, hiddenAsBefore, UB::kOk},
        {"one object whose linking is disabled", {fixed}, false, hiddenAsBefore, UB::kOk},
        {"one link-blocked object of type 41",
         {locked},
         false,
         QStringLiteral("shown body+ | ''- pick- unlink- camera:shown- subNode-"),
         UB::kOk},
        {"one link-blocked object of type 1",
         {latch},
         false,
         QStringLiteral("shown body+ | ''- pick- unlink- camera:hidden- subNode-"),
         UB::kOk},
        {"one object of type 41 without a parent",
         {torch},
         false,
         QStringLiteral("shown body+ | ''- pick+ unlink- camera:shown+ subNode-"),
         UB::kOk},
        {"one object of type 1 without a parent",
         {box},
         false,
         QStringLiteral("shown body+ | ''- pick+ unlink- camera:hidden+ subNode-"),
         UB::kOk},
        {"one object linked", {cup}, false, linked.arg("Table", "subNode+"), UB::kOk},
        {"one object linked to type 18", {hat}, false, linked.arg("Rig", "subNode-"), UB::kOk},
        {"one object linked to type 19", {coat}, false, linked.arg("Rack", "subNode-"), UB::kOk},
        {"one object linked to an excluded parent",
         {scarf},
         false,
         linked.arg("Vault", "subNode-"),
         UB::kOk},
        {"several objects, one not linkable", {cup, light}, false, hiddenAsBefore, UB::kOk},
        {"several objects sharing a parent",
         {cup, plate},
         false,
         several.arg("Table", "+"),
         UB::kOk},
        {"several objects, parents of one name",
         {cup, bowl},
         false,
         several.arg("Table", "+"),
         UB::kOk},
        {"several objects, parents of two names",
         {cup, book},
         false,
         several.arg("", "-"),
         UB::kOk},
        {"several objects, one without a parent", {cup, box}, false, several.arg("", "-"), UB::kOk},
        {"several objects, parents' names differ in case",
         {cup, spoon},
         false,
         several.arg("", "-"),
         UB::kOk},
        // A nameless parent gives no name to share: the next parent's name is taken.
        {"several objects, the first parent nameless",
         {mug, cup, bowl},
         false,
         several.arg("Table", "+"),
         UB::kOk},
        {"several objects, a later parent nameless",
         {cup, mug},
         false,
         several.arg("", "-"),
         UB::kOk},
        {"several objects, one link-blocked",
         {cup, locked},
         false,
         several.arg("Table", "+"),
         UB::kOk},
    };
    for (const Situation& s : situations) {
        Prime();
        if (s.playing)
            scene->Play();
        scene->SetSelection(s.selection);
        scene->SetCurrentTime(1);
        EXPECT_EQ(State(), s.state) << s.name;
        EXPECT_EQ(section->UpdateSectionUi().code, s.code.code) << s.name;
        EXPECT_EQ(State(), s.state) << s.name;
    }
}

TEST_F(SectionRefresh, PartsOfTheUpdateCalledDuringPlaybackOfferNoCommands)
{
    // The update itself stops while the host plays; its parts, called on their own, still
    // turn the commands off.
    scene->SetSelection({cup});
    scene->Play();

    EXPECT_EQ(section->UpdateSectionSinglePick(cup), UB::kOk);
    EXPECT_EQ(State(), QStringLiteral("shown body+ | ''- pick- unlink- camera:hidden- subNode-"));
    EXPECT_EQ(section->UpdateSectionMultiPick({cup, plate}), UB::kOk);
    EXPECT_EQ(State(),
              QStringLiteral("shown body+ | 'Table'+ pick- unlink- camera:hidden- subNode-"));
    EXPECT_EQ(section->UpdateSectionSinglePick(light), UB::kNothingDone);
    EXPECT_EQ(section->UpdateSectionMultiPick({cup, light}), UB::kNothingDone);
    EXPECT_TRUE(section->isHidden());
}

TEST_F(SectionRefresh, ParentLabelIsRenamedAndRestyledAtOnceForObjectsThatTakeNoKeys)
{
    auto* label = Widget<QLabel>("label_512");
    ASSERT_NE(label, nullptr);
    scene->SetSelection({cup});
    ASSERT_EQ(label->objectName(), QStringLiteral("label_512"));
    const QImage keyed = label->grab().toImage();
    const QColor keyedColour = label->palette().color(label->foregroundRole());

    for (UB::CHandle* noKeys :
         {AddObject(QStringLiteral("Effect"), 14), AddObject(QStringLiteral("Sound"), 15)}) {
        scene->SetSelection({noKeys});
        EXPECT_EQ(label->objectName(), QStringLiteral("label_512NoKey"));
        EXPECT_NE(label->palette().color(label->foregroundRole()), keyedColour);
        EXPECT_TRUE(label->font().italic());
        EXPECT_NE(label->grab().toImage(), keyed) << "the renamed label looks the same";

        scene->SetSelection({cup, box});
        EXPECT_EQ(label->objectName(), QStringLiteral("label_512NoKey"))
            << "several objects renamed the label";
        scene->SetSelection({cup});
        EXPECT_EQ(label->objectName(), QStringLiteral("label_512"));
        EXPECT_EQ(label->grab().toImage(), keyed);
    }
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

TEST_F(SectionRefresh, ParentLabelIsRestyledOnlyWhenItsNameChanges)
{
    // Scrubbing refreshes the section at every frame; a label restyled every time would have
    // the section laid out and painted again for nothing.
    auto* label = Widget<QLabel>("label_512");
    ASSERT_NE(label, nullptr);
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
        const char* labelName;
        bool restyled;
    };
    const Step steps[] = {
        {"a linked object with keys", select({cup}), "label_512", false},
        {"scrubbing", scrub, "label_512", false},
        {"another object with keys", select({box}), "label_512", false},
        {"an object without keys", select({effect}), "label_512NoKey", true},
        {"scrubbing", scrub, "label_512NoKey", false},
        {"another object without keys", select({sound}), "label_512NoKey", false},
        {"several objects", select({cup, box}), "label_512NoKey", false},
        {"an object with keys again", select({cup}), "label_512", true},
    };
    CRestyleCounter restyles(label);
    for (const Step& s : steps) {
        restyles.count = 0;
        s.act();
        EXPECT_EQ(label->objectName(), QLatin1String(s.labelName)) << s.name;
        EXPECT_EQ(restyles.count > 0, s.restyled) << s.name;
    }
}

TEST_F(SectionRefresh, HostEventsAboutTheSelectionItsLinksOrASceneFileRefreshIt)
{
    KV::CEventSender* sender = scene->EventSender();
    KV::CLinkEvent link;
    KV::CAnimationEvent animation;
    KV::CBaseEvent base;
    struct Case
    {
        const char* event;
        std::function<void()> send;
        bool refreshes;
    };
    const Case cases[] = {
        {"FileLoaded(scene)", [&] { emit sender->FileLoaded(KV::eFileScene); }, true},
        {"FileLoaded(merge)", [&] { emit sender->FileLoaded(KV::eFileMerge); }, false},
        {"FileLoaded(import)", [&] { emit sender->FileLoaded(KV::eFileImport); }, false},
        {"ObjectSelectionChanged", [&] { emit sender->ObjectSelectionChanged(); }, true},
        {"ObjectDeleted", [&] { emit sender->ObjectDeleted({}); }, true},
        {"HierarchyChanged", [&] { emit sender->HierarchyChanged(); }, true},
        {"ObjectDataChanged2(link)", [&] { emit sender->ObjectDataChanged2(&link); }, true},
        {"ObjectDataChanged2(animation)", [&] { emit sender->ObjectDataChanged2(&animation); },
         false},
        {"ObjectDataChanged2(base)", [&] { emit sender->ObjectDataChanged2(&base); }, false},
        {"ObjectDataChanged2(none)", [&] { emit sender->ObjectDataChanged2(nullptr); }, false},
        {"CurrentTimeChanged", [&] { emit sender->CurrentTimeChanged(5); }, true},
        {"ObjectDataChanged(link)", [&] { emit sender->ObjectDataChanged({}, KV::eChangedLink); },
         false},
        {"DialogModeChanged", [&] { emit sender->DialogModeChanged(KV::eDialogNone); }, false},
        {"PickedModeChanged",
         [&] { emit sender->PickedModeChanged(KV::ePickNone, KV::ePickParent); }, false},
        {"Played", [&] { emit sender->Played(); }, false},
        {"Stopped", [&] { emit sender->Stopped(); }, false},
    };
    for (const Case& c : cases) {
        scene->SetSelection({});
        {
            // The host selects an object without telling anyone; only the event may show it.
            const QSignalBlocker quiet(sender);
            scene->SetSelection({box});
        }
        c.send();
        EXPECT_EQ(!section->isHidden(), c.refreshes) << c.event;
    }
}

TEST_F(SectionRefresh, BlockingPickModesDisableTheWholeSection)
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

TEST_F(SectionRefresh, FailingHostQueriesLeaveTheirWidgetsAsTheyWere)
{
    struct Case
    {
        const char* call;
        QVector<UB::CHandle*> before;
        QVector<UB::CHandle*> after;
        QString state;
        UB::Result code; // of the update
    };
    const Case cases[] = {
        // Only the body is enabled.
        {"GetSelectedObjects",
         {lantern},
         {light},
         QStringLiteral("shown body+ | 'Table'+ pick+ unlink+ camera:shown+ subNode+"),
         failure},
        // Steps up to the parent query ran: the camera button and Pick Parent follow the cup.
        {"GetLinkParent",
         {locked},
         {cup},
         QStringLiteral("shown body+ | ''- pick+ unlink- camera:hidden+ subNode-"),
         UB::kOk},
        {"GetLinkParent",
         {lantern},
         {torch},
         QStringLiteral("shown body+ | 'Table'+ pick+ unlink+ camera:shown+ subNode+"),
         UB::kOk},
        // Several objects read a failed query as no parent.
        {"GetLinkParent",
         {lantern},
         {cup, plate},
         QStringLiteral("shown body+ | ''- pick+ unlink+ camera:hidden+ subNode-"),
         UB::kOk},
    };
    for (const Case& c : cases) {
        Prime();
        scene->SetSelection(c.before);
        section->EnableSection(false);
        scene->InjectFault(QLatin1String(c.call), failure.code);
        scene->SetSelection(c.after);
        EXPECT_EQ(State(), c.state) << c.call;
        EXPECT_EQ(section->UpdateSectionUi().code, c.code.code) << c.call;
    }
    // The single-object part hands the parent query's code on.
    EXPECT_EQ(section->UpdateSectionSinglePick(cup), failure);
}

} // namespace
