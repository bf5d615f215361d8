// The Link commands follow the host: the selection, its types and links, the pick and dialog
// modes and playback decide which commands are enabled and which context commands are shown.

#include "PluginHostTest.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QToolButton>

namespace {

class PluginCommandState : public PluginHostTest
{
protected:
    void SetUp() override
    {
        PluginHostTest::SetUp();
        ASSERT_EQ(InitializeFromPluginFolder(), UB::kOk);
        table = AddObject(QStringLiteral("Table"), 1);
    }

    UB::CHandle* AddLinkedObject(const QString& name, int type)
    {
        UB::CHandle* object = AddObject(name, type);
        scene->SetLinkKey(object, 0, table);
        return object;
    }

    // The commands as the user sees them: enabled tool bar button and menu commands, shown
    // context commands.
    QString Commands()
    {
        auto on = [](bool value) {
            return value ? QStringLiteral("+") : QStringLiteral("-");
        };
        auto action = [this](const char* name) {
            return LayoutAction(QLatin1String(name));
        };
        return QStringLiteral("button%1 link%2 unlink%3 | linkTo%4 camera%5 unlink%6")
            .arg(on(LinkToolButton()->isEnabled()), on(action("qtLinkAction")->isEnabled()),
                 on(action("qtUnlinkAction")->isEnabled()),
                 on(action("qtCLinkToAction")->isVisible()),
                 on(action("qtCLinkToCameraAction")->isVisible()),
                 on(action("qtCUnlinkAction")->isVisible()));
    }

    const QString allOn = QStringLiteral("button+ link+ unlink+ | linkTo+ camera+ unlink+");
    const QString off = QStringLiteral("button- link- unlink- | linkTo- camera- unlink-");
    UB::CHandle* table = nullptr;
};

TEST_F(PluginCommandState, OneObjectOffersWhatItsTypeAndLinkAllow)
{
    UB::CHandle* linkedProp = AddLinkedObject(QStringLiteral("Lantern"), 41);
    UB::CHandle* freeProp = AddObject(QStringLiteral("Torch"), 41);
    UB::CHandle* linkedBox = AddLinkedObject(QStringLiteral("Cup"), 1);
    UB::CHandle* light = AddLinkedObject(QStringLiteral("Light"), 6);
    UB::CHandle* blocked = AddLinkedObject(QStringLiteral("Locked"), 41);
    scene->Desc(blocked).linkBlocked = true;

    struct Case
    {
        UB::CHandle* object;
        QString commands;
    };
    const Case cases[] = {
        {linkedProp, allOn},
        {freeProp, QStringLiteral("button+ link+ unlink- | linkTo+ camera+ unlink-")},
        {linkedBox, QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+")},
        {light, off},
        {blocked, off},
        {linkedProp, allOn},
    };
    for (const Case& c : cases) {
        scene->SetSelection({c.object});
        EXPECT_EQ(Commands(), c.commands) << scene->Name(c.object).toStdString();
    }
    scene->SetSelection({});
    EXPECT_EQ(Commands(), off);
}

TEST_F(PluginCommandState, BlockingPickModesDialogsAndPlaybackTurnOneObjectsCommandsOff)
{
    scene->SetSelection({AddLinkedObject(QStringLiteral("Lantern"), 41)});
    ASSERT_EQ(Commands(), allOn);

    for (int mode : {19, 37}) {
        scene->ChangePickMode(mode);
        EXPECT_EQ(Commands(), off) << "pick mode " << mode;
        scene->ChangePickMode(0);
        EXPECT_EQ(Commands(), allOn) << "pick mode " << mode;
    }
    scene->SetDialogMode(5);
    EXPECT_EQ(Commands(), off);
    scene->SetDialogMode(0);
    EXPECT_EQ(Commands(), allOn);
    scene->Play();
    EXPECT_EQ(Commands(), off);
    scene->SetCurrentTime(3);
    EXPECT_EQ(Commands(), off) << "a single object stays off while playing";
    scene->Stop();
    EXPECT_EQ(Commands(), allOn);
}

TEST_F(PluginCommandState, SeveralObjectsOfferLinkAndUnlinkButNeverTheCamera)
{
    UB::CHandle* torch = AddObject(QStringLiteral("Torch"), 41);
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    const QString multi = QStringLiteral("button+ link+ unlink+ | linkTo+ camera- unlink+");

    scene->SetSelection({torch, cup});
    EXPECT_EQ(Commands(), multi) << "unlink is offered even without parents";
    scene->SetDialogMode(9);
    EXPECT_EQ(Commands(), off);
    scene->SetDialogMode(5);
    EXPECT_EQ(Commands(), off) << "every dialog turns the commands off on its change";
    scene->SetCurrentTime(1);
    EXPECT_EQ(Commands(), multi) << "only dialog modes 9 and 67 forbid several objects";
    scene->SetDialogMode(0);

    // Playback turns them off, but the next refresh does not look at playback.
    scene->Play();
    EXPECT_EQ(Commands(), off);
    scene->SetCurrentTime(2);
    EXPECT_EQ(Commands(), multi);
    scene->Stop();

    scene->SetSelection({torch, AddObject(QStringLiteral("Light"), 6)});
    EXPECT_EQ(Commands(), off);
}

TEST_F(PluginCommandState, ANewSelectionEndsPickingAParentFirst)
{
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    scene->SetSelection({cup});
    LayoutAction(QStringLiteral("qtLinkAction"))->trigger();
    ASSERT_EQ(scene->PickMode(), 2);

    scene->ClearJournal();
    scene->SetSelection({AddObject(QStringLiteral("Plate"), 1)});

    EXPECT_EQ(scene->PickMode(), 0);
    QStringList calls;
    for (const KV::CJournalEntry& entry : scene->Journal()) {
        if (entry.call == QLatin1String("EndPickMode") ||
            entry.call == QLatin1String("GetSelectedObjects"))
            calls << entry.call;
    }
    // The section, connected first, refreshes first. The plug-in then ends the mode, whose
    // change refreshes the commands, and refreshes them for the new selection.
    const QString select = QStringLiteral("GetSelectedObjects");
    EXPECT_EQ(calls, (QStringList{select, QStringLiteral("EndPickMode"), select, select}));
}

TEST_F(PluginCommandState, AFailingParentQueryLeavesTheUnlinkCommandsAsTheyWere)
{
    UB::CHandle* lantern = AddLinkedObject(QStringLiteral("Lantern"), 41);
    scene->SetSelection({lantern});
    ASSERT_EQ(Commands(), allOn);

    scene->ChangePickMode(19);
    ASSERT_EQ(Commands(), off);
    scene->InjectFault(QStringLiteral("GetLinkParent"), UB::ToCode(0x80004005u));
    scene->ChangePickMode(0);

    EXPECT_EQ(Commands(), QStringLiteral("button+ link+ unlink- | linkTo+ camera+ unlink-"));
}

} // namespace
