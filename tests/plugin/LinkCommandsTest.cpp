// Every way a user gives a Link command, in the tool bar, the menus, the context menu or the
// section's buttons, reaches its operation once, and each operation asks of the host what it
// should.

#include "PluginHostTest.h"
#include "support/Journal.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

class LinkCommands : public PluginHostTest
{
protected:
    void SetUp() override
    {
        PluginHostTest::SetUp();
        ASSERT_EQ(InitializeFrom(), UB::kOk);
        ShowInHostWindow();
        esc = Find<QAction>("qtEscHotkey");
        table = AddObject(QStringLiteral("Table"), 1);
        camera = AddObject(QStringLiteral("Shot Camera"), 3);
        scene->SetCurrentCamera(camera);
    }

    // What reached the host of the three operations behind the commands.
    QStringList Operations() const
    {
        return JournalCalls(*scene, {QStringLiteral("SetPickMode"), QStringLiteral("UnlinkObject"),
                                     QStringLiteral("LinkObjects")});
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

TEST_F(LinkCommands, EachCommandReachesItsOperationOnce)
{
    QToolButton* button = LinkToolButton();
    const auto clickMainPart = [button] {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, button->height() / 2));
    };
    const auto chooseFromDropDown = [this, button](const char* name) {
        return [this, button, name] {
            QMenu* menu = button->menu();
            menu->popup(button->mapToGlobal(QPoint(0, button->height())));
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                              menu->actionGeometry(Find<QAction>(name)).center());
            EXPECT_FALSE(menu->isVisible());
        };
    };
    const auto trigger = [this](const char* name) {
        return [this, name] {
            Find<QAction>(name)->trigger();
        };
    };
    const auto click = [this](const char* name) {
        return [this, name] {
            QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton);
        };
    };

    clickMainPart();
    EXPECT_TRUE(Operations().isEmpty()) << "the disabled button linked";

    struct Case
    {
        const char* command;
        std::function<void()> give;
        const char* operation;
    };
    const Case cases[] = {
        {"split button", clickMainPart, "SetPickMode"},
        {"split button > Link", chooseFromDropDown("qtLinkAction"), "SetPickMode"},
        {"split button > Unlink", chooseFromDropDown("qtUnlinkAction"), "UnlinkObject"},
        {"Link", trigger("qtLinkAction"), "SetPickMode"},
        {"Unlink", trigger("qtUnlinkAction"), "UnlinkObject"},
        {"context Link To", trigger("qtCLinkToAction"), "SetPickMode"},
        {"context Unlink", trigger("qtCUnlinkAction"), "UnlinkObject"},
        {"context Link To Camera", trigger("qtCLinkToCameraAction"), "LinkObjects"},
        {"section Pick Parent", click("qtPickParent"), "SetPickMode"},
        {"section Unlink", click("qtUnlink"), "UnlinkObject"},
        {"section Link To Camera", click("qtLinkCameraPushButton"), "LinkObjects"},
    };
    int count = 0;
    for (const Case& c : cases) {
        // A new linked prop each time offers every command; selecting it also ends picking.
        UB::CHandle* prop = AddObject(QStringLiteral("Prop%1").arg(++count), 41, table);
        scene->SetSelection({prop});
        ASSERT_EQ(Commands(), QStringLiteral("button+ link+ unlink+ | linkTo+ camera+ unlink+"));

        scene->ClearJournal();
        c.give();
        EXPECT_EQ(Operations(), QStringList{QLatin1String(c.operation)}) << c.command;
    }
}

TEST_F(LinkCommands, PickParentNeedsEveryObjectLinkableAndTurnsEscOn)
{
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* light = AddObject(QStringLiteral("Light"), 6);
    UB::CHandle* fixed = AddObject(QStringLiteral("Fixed"), 1);
    scene->Desc(fixed).linkDisabled = true;
    UB::CHandle* locked = AddObject(QStringLiteral("Locked"), 41);
    scene->Desc(locked).linkBlocked = true;
    UB::CHandle* bulb = scene->AddNode(light, {QStringLiteral("Bulb"), 6});
    struct Case
    {
        const char* selection;
        QVector<UB::CHandle*> objects;
        bool picks;
    };
    const Case cases[] = {
        {"nothing", {}, true},
        {"a box", {box}, true},
        {"a box and a part of a light", {box, bulb}, true},
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

TEST_F(LinkCommands, EscStaysOnAfterPickingEndedElsewhereAndThenEndsAnyPickMode)
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

        c.endPicking();
        EXPECT_EQ(esc->isEnabled(), c.escStaysOn) << c.way;
        if (!c.escStaysOn)
            continue;
        scene->ClearJournal();
        esc->trigger();
        EXPECT_EQ(scene->JournalLines({QStringLiteral("SetPickMode")}),
                  QStringList{QStringLiteral("SetPickMode(0) -> 0")})
            << c.way;
        EXPECT_FALSE(esc->isEnabled()) << c.way;
    }
}

TEST_F(LinkCommands, UnlinkUnlinksEachLinkableTopLevelObjectAtTheTimeOfItsOwnCall)
{
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1, table);
    UB::CHandle* marker = AddObject(QStringLiteral("Marker"), 0, table);
    UB::CHandle* plate = AddObject(QStringLiteral("Plate"), 1, table);
    UB::CHandle* leg = scene->AddNode(table, {QStringLiteral("Leg"), 1});
    scene->SetCurrentTime(10);
    scene->SetSelection({cup, marker, plate, leg});
    AdvanceTimeAfterEach(QStringLiteral("UnlinkObject"));
    scene->ClearJournal();

    section->OnUnlink();

    EXPECT_EQ(scene->JournalLines({QStringLiteral("UnlinkObject")}),
              (QStringList{QStringLiteral("UnlinkObject(Cup, 10, true, true) -> 0"),
                           QStringLiteral("UnlinkObject(Plate, 11, true, true) -> 0")}));
}

TEST_F(LinkCommands, LinkToCameraLinksOneTopLevelPropWithoutAlignmentAndShowsTheCameraAtOnce)
{
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* lantern = AddObject(QStringLiteral("Lantern"), 41);
    UB::CHandle* torch = AddObject(QStringLiteral("Torch"), 41);
    UB::CHandle* wick = scene->AddNode(torch, {QStringLiteral("Wick"), 41});
    for (const QVector<UB::CHandle*>& selection :
         {QVector<UB::CHandle*>{box}, QVector<UB::CHandle*>{lantern, torch},
          QVector<UB::CHandle*>{}, QVector<UB::CHandle*>{wick}}) {
        scene->SetSelection(selection);
        scene->ClearJournal();
        section->OnLinkToCamera();
        EXPECT_TRUE(Operations().isEmpty()) << selection.size() << " selected";
    }

    // A part of another object selected with the prop does not count.
    scene->SetCurrentTime(10);
    scene->SetSelection({lantern, wick});
    ASSERT_FALSE(Find<QPushButton>("qtUnlink")->isEnabled());
    AdvanceTimeAfterEach(QStringLiteral("GetCurrentCamera"));
    // Without the host's events that follow the link, the section still shows it.
    QObject::disconnect(scene->EventSender(), nullptr, section, nullptr);
    scene->ClearJournal();

    section->OnLinkToCamera();

    EXPECT_EQ(
        scene->JournalLines({QStringLiteral("LinkObjects")}),
        QStringList{QStringLiteral("LinkObjects([Lantern], Shot Camera, 0, 11, true, true) -> 0")});
    EXPECT_TRUE(Find<QPushButton>("qtUnlink")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("qtLinkNodeText")->text(), QStringLiteral("Shot Camera"));
}

} // namespace
