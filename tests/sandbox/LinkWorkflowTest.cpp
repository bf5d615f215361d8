// The linkage workflows an animator runs in the sandbox with the plug-in, end to end: the
// section's commands, the host's pick mode, Link to Sub-Node, the timeline, playback and undo.

#include "SandboxTest.h"

#include "CDeveloperMenu.h"
#include "CHostCallsPanel.h"
#include "support/TreeText.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>

namespace KV::test {

class LinkWorkflowTest : public SandboxTest
{
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        OpenWindow();
        parentText = Find<QLineEdit>(QStringLiteral("qtLinkNodeText"));
    }

    QLineEdit* parentText = nullptr;
};

TEST_F(LinkWorkflowTest, PickAndCameraKeepObjectsInPlaceAndPickingIsOneUndoStep)
{
    const TransformRecord sword = World(QStringLiteral("Sword"));
    const int steps = Scene().UndoStack()->count();
    ClickNode(QStringLiteral("Sword"));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtPickParent")));
    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(SamePlace(sword, World(QStringLiteral("Sword"))));
    EXPECT_EQ(Scene().UndoStack()->count(), steps + 1);
    EXPECT_EQ(parentText->text(), QStringLiteral("Hand_R"));
    Trigger("qtUndoAction");
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_TRUE(SamePlace(sword, World(QStringLiteral("Sword"))));

    // Linked to the camera, the sword stays where it is.
    ClickNode(QStringLiteral("Sword"));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkCameraPushButton")));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Camera01"));
    EXPECT_EQ(parentText->text(), QStringLiteral("Camera01"));
    EXPECT_TRUE(SamePlace(sword, World(QStringLiteral("Sword"))));
}

TEST_F(LinkWorkflowTest, TheSectionShowsTheParentOfTheTimeScrubbedToOrStoppedAt)
{
    // The shield rests in the knight's left grip until time 60, then on the table.
    auto* time = Find<QSpinBox>(QStringLiteral("qtTimeSpinBox"));
    auto* body = Find<QGroupBox>(QStringLiteral("qtSectionGroupBox"));
    ClickNode(QStringLiteral("Shield"));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("55"));
    ASSERT_EQ(parentText->text(), QStringLiteral("Grip_L"));

    ASSERT_TRUE(ClickButton(QStringLiteral("qtPlayButton")));
    EXPECT_FALSE(body->isEnabled());
    EXPECT_TRUE(WaitUntil([&] { return Scene().CurrentTime() > 62; }));
    EXPECT_EQ(parentText->text(), QStringLiteral("Grip_L")) << "the section changes nothing";
    ASSERT_TRUE(ClickButton(QStringLiteral("qtStopButton")));
    const UBTime stoppedAt = Scene().CurrentTime();
    EXPECT_TRUE(body->isEnabled());
    EXPECT_TRUE(Action(QStringLiteral("qtLinkAction"))->isEnabled());
    EXPECT_EQ(parentText->text(), QStringLiteral("Table"));
    EXPECT_TRUE(Find<QWidget>(QStringLiteral("qtUnlink"))->isEnabled());
    QTest::qWait(60);
    EXPECT_EQ(Scene().CurrentTime(), stoppedAt);

    // The hat moves from the knight's head to the squire's at 50.
    Scene().SetSelection({Node(QStringLiteral("Hat"))});
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("10"));
    EXPECT_EQ(parentText->text(), QStringLiteral("Head"));
}

TEST_F(LinkWorkflowTest, AFailedHostCallIsReportedOnceAndChangesNothingUntilCleared)
{
    ClickNode(QStringLiteral("Sword"));
    const CSceneSnapshot before = Scene().Snapshot();
    const int reported = Window().HostCalls()->VisibleLines().size();
    Window().DeveloperMenu()->FaultAction(QStringLiteral("LinkObjects"))->trigger();

    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkCameraPushButton")));
    const QString message = QStringLiteral(
        "Host call failed: LinkObjects([Sword], Camera01, 0, 0, true, true) returned 0x80004005.");
    EXPECT_EQ(StatusText(), message);
    const QStringList lines = Window().HostCalls()->VisibleLines().mid(reported);
    EXPECT_EQ(lines.filter(message).size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));

    // The host's own pick is refused too and stays in pick mode, the scene unmodified.
    Trigger("qtPickMode2");
    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_TRUE(StatusText().contains(QStringLiteral("refused with code 0x80004005")))
        << StatusText().toStdString();
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    EXPECT_FALSE(Window().isWindowModified());
    Trigger("qtClearFaultsAction");
    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(Window().isWindowModified());
}

TEST_F(LinkWorkflowTest, LinkToSubNodeOkIsOneStepAndNoAlignmentKeepsThePlacement)
{
    LinkSwordToHand();
    const TransformRecord inHand = World(QStringLiteral("Sword"));
    const CSceneSnapshot before = Scene().Snapshot();
    QStringList listed;
    ASSERT_TRUE(LinkSubNode([&](CSubNodeDialogUser& user) {
        listed = DrawTree(user.Tree(), false).split(QLatin1Char('\n'));
        // "Do not align" after an aligned preview puts the sword back in the hand.
        ClickItem(user, QStringLiteral("Grip_R_Tip"));
        user.ChooseAlignment(2);
        user.ChooseAlignment(0);
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
        EXPECT_TRUE(SamePlace(inHand, World(QStringLiteral("Sword"))));
        CSubNodeDialogUser::Click(user.Ok());
    }));
    // The knight's skeleton as the sample scene means it to be offered: grips first, the lone
    // Skeleton looked through, attachment points only below the body, nothing of kinds 4, 8
    // or 17, nothing unlinkable, the excluded sheath bare, the gizmos left out.
    EXPECT_EQ(listed, (QStringList{"Knight", "  Body", "    Grip_L", "    Grip_R",
                                   "      Grip_R_Tip", "    Grip_Back", "    Holster_Hip",
                                   "      Holster_Strap", "    Sheath"}));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Grip_R_Tip"));
    EXPECT_TRUE(SamePlace(inHand, World(QStringLiteral("Sword"))));
    const CSceneSnapshot accepted = Scene().Snapshot();
    EXPECT_EQ(accepted.undoCount, before.undoCount + 1);
    EXPECT_EQ(Scene().UndoStack()->undoText(), QStringLiteral("Link Sword to Grip_R_Tip"));
    Trigger("qtUndoAction");
    EXPECT_TRUE(KV::Test::SameScene({before.file, accepted.undoCount, before.undoIndex, true},
                                    Scene().Snapshot()));
    Trigger("qtRedoAction");
    EXPECT_TRUE(KV::Test::SameScene(accepted, Scene().Snapshot()));

    // Aligned, the preview already shows the sword in the grip, and OK keeps it there.
    ASSERT_TRUE(LinkSubNode([&](CSubNodeDialogUser& user) {
        ClickItem(user, QStringLiteral("Grip_R"));
        user.ChooseAlignment(2);
        EXPECT_TRUE(SamePlace(World(QStringLiteral("Grip_R")), World(QStringLiteral("Sword"))));
        CSubNodeDialogUser::Click(user.Ok());
    }));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Grip_R"));
    EXPECT_TRUE(SamePlace(World(QStringLiteral("Grip_R")), World(QStringLiteral("Sword"))));
}

TEST_F(LinkWorkflowTest, LinkToSubNodeCancelLeavesTheWholeSceneAsItWasBetweenKeys)
{
    // The hat rides on the knight's head from 0 and on the squire's from 50; at 20 it has no
    // key of its own.
    Scene().SetCurrentTime(20);
    ClickNode(QStringLiteral("Hat"));
    const CSceneSnapshot before = Scene().Snapshot();
    for (bool previews : {false, true}) {
        SCOPED_TRACE(previews ? "after previews" : "at once");
        ASSERT_TRUE(LinkSubNode([&](CSubNodeDialogUser& user) {
            if (previews) {
                ClickItem(user, QStringLiteral("Grip_R_Tip"));
                user.ChooseAlignment(2);
                user.TypeInSearch(QStringLiteral("hol"));
                user.ListAction()->trigger();
                ClickItem(user, QStringLiteral("Holster_Strap"));
                user.ChooseAlignment(1);
                EXPECT_EQ(ParentName(QStringLiteral("Hat")), QStringLiteral("Holster_Strap"));
                EXPECT_TRUE(Window().isWindowModified());
            }
            CSubNodeDialogUser::Click(user.Cancel());
        }));
        EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));
        EXPECT_FALSE(Window().isWindowModified());
    }
}

} // namespace KV::test
