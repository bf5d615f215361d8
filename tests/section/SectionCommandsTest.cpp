// The section's commands, reached through its buttons and hot key: what they ask of the host.

#include "LinkageSectionTest.h"
#include "support/Journal.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

class SectionCommands : public LinkageSectionTest
{
protected:
    void SetUp() override
    {
        LinkageSectionTest::SetUp();
        ASSERT_EQ(Initialize(), UB::kOk);
        ShowInHostWindow();
        esc = Widget<QAction>("qtEscHotkey");
        ASSERT_NE(esc, nullptr);
        table = AddObject(QStringLiteral("Table"), 1);
        camera = AddObject(QStringLiteral("Shot Camera"), 3);
        scene->SetCurrentCamera(camera);
    }

    // Moves the host's clock on by one after every call of `call`, so that a command that
    // reads the time only once for several calls shows it.
    void AdvanceTimeAfterEach(const QString& call)
    {
        QObject::connect(scene.get(), &KV::CSceneModel::JournalAppended, scene.get(),
                         [this, call](const KV::CJournalEntry& entry) {
                             if (entry.call == call)
                                 scene->SetCurrentTime(scene->CurrentTime() + 1);
                         });
    }

    QAction* esc = nullptr;
    UB::CHandle* table = nullptr;
    UB::CHandle* camera = nullptr;
};

TEST_F(SectionCommands, EachButtonReachesItsCommandOnce)
{
    struct Case
    {
        const char* button;
        const char* call;
    };
    const Case cases[] = {
        {"qtPickParent", "SetPickMode"},
        {"qtUnlink", "UnlinkObject"},
        {"qtLinkCameraPushButton", "LinkObjects"},
    };
    const QStringList commandCalls{QStringLiteral("SetPickMode"), QStringLiteral("UnlinkObject"),
                                   QStringLiteral("LinkObjects")};
    for (const Case& c : cases) {
        scene->ChangePickMode(0);
        scene->SetSelection({AddObject(QStringLiteral("Prop for %1").arg(c.button), 41, table)});
        scene->ClearJournal();

        QTest::mouseClick(Widget<QPushButton>(c.button), Qt::LeftButton);

        EXPECT_EQ(JournalCalls(*scene, commandCalls), QStringList{QLatin1String(c.call)})
            << c.button;
    }
}

TEST_F(SectionCommands, PickParentNeedsEveryObjectLinkableAndTurnsEscOn)
{
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* light = AddObject(QStringLiteral("Light"), 6);
    UB::CHandle* fixed = AddObject(QStringLiteral("Fixed"), 1);
    scene->Desc(fixed).linkDisabled = true;
    UB::CHandle* locked = AddObject(QStringLiteral("Locked"), 41);
    scene->Desc(locked).linkBlocked = true;
    struct Case
    {
        const char* selection;
        QVector<UB::CHandle*> objects;
        bool picks;
    };
    const Case cases[] = {
        {"nothing", {}, true},
        {"a box", {box}, true},
        {"a link-blocked prop", {locked}, true},
        {"a light", {light}, false},
        {"an object whose linking is disabled", {fixed}, false},
        {"a box and a light", {box, light}, false},
    };
    for (const Case& c : cases) {
        esc->trigger();
        scene->SetSelection(c.objects);
        scene->ClearJournal();

        section->OnPickParent();

        EXPECT_EQ(scene->JournalLines({QStringLiteral("SetPickMode")}),
                  c.picks ? QStringList{QStringLiteral("SetPickMode(2) -> 0")} : QStringList())
            << c.selection;
        EXPECT_EQ(esc->isEnabled(), c.picks) << c.selection;
    }
}

TEST_F(SectionCommands, EscStaysOnAfterPickingEndedElsewhereAndThenEndsAnyPickMode)
{
    struct Case
    {
        const char* way;
        std::function<void()> endPicking;
        bool escStaysOn;
    };
    const Case cases[] = {
        {"Esc", [this] { esc->trigger(); }, false},
        {"the host leaves the pick mode", [this] { scene->ChangePickMode(0); }, true},
        {"the host picks otherwise", [this] { scene->ChangePickMode(19); }, true},
    };
    for (const Case& c : cases) {
        section->OnPickParent();
        ASSERT_EQ(scene->PickMode(), 2) << c.way;
        ASSERT_TRUE(esc->isEnabled()) << c.way;

        scene->ClearJournal();
        c.endPicking();
        EXPECT_EQ(esc->isEnabled(), c.escStaysOn) << c.way;
        if (!c.escStaysOn)
            continue;
        esc->trigger();
        EXPECT_EQ(scene->JournalLines({QStringLiteral("SetPickMode")}),
                  QStringList{QStringLiteral("SetPickMode(0) -> 0")})
            << c.way;
        EXPECT_EQ(scene->PickMode(), 0) << c.way;
        EXPECT_FALSE(esc->isEnabled()) << c.way;
    }
}

TEST_F(SectionCommands, UnlinkUnlinksEachLinkableObjectAtTheTimeOfItsOwnCall)
{
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1, table);
    UB::CHandle* marker = AddObject(QStringLiteral("Marker"), 0, table);
    UB::CHandle* plate = AddObject(QStringLiteral("Plate"), 1, table);
    scene->SetCurrentTime(10);
    scene->SetSelection({cup, marker, plate});
    AdvanceTimeAfterEach(QStringLiteral("UnlinkObject"));
    scene->ClearJournal();

    section->OnUnlink();

    EXPECT_EQ(scene->JournalLines({QStringLiteral("UnlinkObject")}),
              (QStringList{QStringLiteral("UnlinkObject(Cup, 10, true, true) -> 0"),
                           QStringLiteral("UnlinkObject(Plate, 11, true, true) -> 0")}));
    EXPECT_EQ(scene->LinkParentAt(cup, 12), nullptr);
    EXPECT_EQ(scene->LinkParentAt(marker, 12), table);
    EXPECT_EQ(scene->LinkParentAt(plate, 12), nullptr);
}

TEST_F(SectionCommands, LinkToCameraLinksOnePropWithoutAlignmentAndShowsTheCameraAtOnce)
{
    UB::CHandle* prop = AddObject(QStringLiteral("Lantern"), 41);
    scene->SetCurrentTime(10);
    scene->SetSelection({prop});
    ASSERT_FALSE(Widget<QPushButton>("qtUnlink")->isEnabled());
    AdvanceTimeAfterEach(QStringLiteral("GetCurrentCamera"));
    // Without the host's events that follow the link, the section still shows it.
    QObject::disconnect(scene->EventSender(), nullptr, section, nullptr);
    scene->ClearJournal();

    section->OnLinkToCamera();

    EXPECT_EQ(
        scene->JournalLines({QStringLiteral("LinkObjects")}),
        QStringList{QStringLiteral("LinkObjects([Lantern], Shot Camera, 0, 11, true, true) -> 0")});
    EXPECT_EQ(scene->LinkParentAt(prop, 11), camera);
    EXPECT_TRUE(Widget<QPushButton>("qtUnlink")->isEnabled());
    EXPECT_EQ(Widget<QLineEdit>("qtLinkNodeText")->text(), QStringLiteral("Shot Camera"));
}

TEST_F(SectionCommands, LinkToCameraNeedsExactlyOneObjectOfTheCameraLinkType)
{
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* lantern = AddObject(QStringLiteral("Lantern"), 41);
    UB::CHandle* torch = AddObject(QStringLiteral("Torch"), 41);

    for (const QVector<UB::CHandle*>& selection :
         {QVector<UB::CHandle*>{box}, QVector<UB::CHandle*>{lantern, torch},
          QVector<UB::CHandle*>{}}) {
        scene->SetSelection(selection);
        scene->ClearJournal();
        section->OnLinkToCamera();
        EXPECT_TRUE(scene->JournalLines({QStringLiteral("LinkObjects")}).isEmpty())
            << selection.size() << " selected";
    }
}

} // namespace
