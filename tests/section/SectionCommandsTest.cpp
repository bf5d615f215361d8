// The section's commands, reached through its buttons and hot key: what they ask of the host.

#include "LinkageSectionTest.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

using SectionCommands = LinkageSectionTest;

TEST_F(SectionCommands, PickParentEntersPickModeAndEscLeavesIt)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    QAction* esc = Widget<QAction>("qtEscHotkey");

    // An empty selection passes the linkability test.
    scene->ClearJournal();
    Widget<QPushButton>("qtPickParent")->click();
    EXPECT_EQ(scene->PickMode(), 2);
    EXPECT_TRUE(esc->isEnabled());

    esc->trigger();
    EXPECT_EQ(scene->PickMode(), 0);
    EXPECT_FALSE(esc->isEnabled());
    EXPECT_EQ(scene->JournalLines({QStringLiteral("SetPickMode")}),
              (QStringList{QStringLiteral("SetPickMode(2) -> 0"),
                           QStringLiteral("SetPickMode(0) -> 0")}));

    scene->SetSelection({AddObject(QStringLiteral("Light"), 6)});
    scene->ClearJournal();
    section->OnPickParent();
    EXPECT_TRUE(scene->JournalLines({QStringLiteral("SetPickMode")}).isEmpty());
    EXPECT_FALSE(esc->isEnabled());
}

TEST_F(SectionCommands, EscStaysOnAfterPickingEndedElsewhereAndEndsItAgain)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    QAction* esc = Widget<QAction>("qtEscHotkey");
    section->OnPickParent();
    scene->ChangePickMode(0);
    ASSERT_TRUE(esc->isEnabled());

    scene->ClearJournal();
    esc->trigger();
    EXPECT_EQ(scene->JournalLines({QStringLiteral("SetPickMode")}),
              QStringList{QStringLiteral("SetPickMode(0) -> 0")});
    EXPECT_FALSE(esc->isEnabled());
}

TEST_F(SectionCommands, UnlinkUnlinksEveryLinkableSelectedObjectAtTheCurrentTime)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    UB::CHandle* parent = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    UB::CHandle* marker = AddObject(QStringLiteral("Marker"), 0);
    UB::CHandle* plate = AddObject(QStringLiteral("Plate"), 1);
    for (UB::CHandle* object : {cup, marker, plate})
        scene->SetLinkKey(object, 0, parent);
    scene->SetCurrentTime(10);
    scene->SetSelection({cup, marker, plate});

    scene->ClearJournal();
    Widget<QPushButton>("qtUnlink")->click();

    EXPECT_EQ(scene->JournalLines({QStringLiteral("UnlinkObject")}),
              (QStringList{QStringLiteral("UnlinkObject(Cup, 10, true, true) -> 0"),
                           QStringLiteral("UnlinkObject(Plate, 10, true, true) -> 0")}));
    EXPECT_EQ(scene->LinkParentAt(cup, 10), nullptr);
    EXPECT_EQ(scene->LinkParentAt(marker, 10), parent);
    EXPECT_EQ(scene->LinkParentAt(plate, 10), nullptr);
}

TEST_F(SectionCommands, LinkToCameraLinksOnePropAndShowsTheCameraAtOnce)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    UB::CHandle* camera = AddObject(QStringLiteral("Shot Camera"), 3);
    scene->SetCurrentCamera(camera);
    UB::CHandle* prop = AddObject(QStringLiteral("Lantern"), 41);
    scene->SetSelection({prop});
    ASSERT_TRUE(Widget<QPushButton>("qtLinkCameraPushButton")->isEnabled());
    ASSERT_FALSE(Widget<QPushButton>("qtUnlink")->isEnabled());

    // Without the host's events that follow the link, the section still shows it.
    QObject::disconnect(scene->EventSender(), nullptr, section, nullptr);
    scene->ClearJournal();
    Widget<QPushButton>("qtLinkCameraPushButton")->click();

    EXPECT_EQ(scene->LinkParentAt(prop, scene->CurrentTime()), camera);
    EXPECT_EQ(scene->JournalLines({QStringLiteral("LinkObjects")}).size(), 1);
    EXPECT_TRUE(Widget<QPushButton>("qtUnlink")->isEnabled());
    EXPECT_EQ(Widget<QLineEdit>("qtLinkNodeText")->text(), QStringLiteral("Shot Camera"));
}

TEST_F(SectionCommands, LinkToCameraNeedsExactlyOneObjectOfTheCameraLinkType)
{
    ASSERT_EQ(Initialize(), UB::kOk);
    scene->SetCurrentCamera(AddObject(QStringLiteral("Shot Camera"), 3));
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
