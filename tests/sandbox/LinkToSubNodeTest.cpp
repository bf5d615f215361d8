// Link to Sub-Node through the sandbox's window: the plug-in's modal dialog previews on the
// host's scene; OK leaves one undo step, Cancel leaves the scene as it was.

#include "CSubNodeDialogUser.h"
#include "SandboxTest.h"
#include "support/SceneSnapshotAssert.h"
#include "support/TreeText.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

namespace KV::test {

namespace {

CSubNodeDialogUser UserOf(QWidget* dialog)
{
    return CSubNodeDialogUser(qobject_cast<QDialog*>(dialog));
}

void ClickTreeItem(QWidget* dialog, const QString& text)
{
    CSubNodeDialogUser user = UserOf(dialog);
    const QList<QTreeWidgetItem*> items =
        user.Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    ASSERT_TRUE(user.ClickItem(items.first())) << text.toStdString() << " is not on screen";
}

/// The tree as indented lines, depth first: two spaces per level.
QStringList TreeLines(QWidget* dialog)
{
    return DrawTree(UserOf(dialog).Tree(), false).split(QLatin1Char('\n'));
}

void ClickDialogButton(QWidget* dialog, const QString& name)
{
    auto* button = dialog->findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    CSubNodeDialogUser::Click(button);
}

} // namespace

class LinkToSubNodeTest : public SandboxWithPluginTest
{
protected:
    /// The sword in the knight's right hand, picked there through the viewport.
    void LinkSwordToHand()
    {
        OpenWindow();
        ClickNode(QStringLiteral("Sword"));
        ASSERT_TRUE(ClickButton(QStringLiteral("qtPickParent")));
        ClickNode(QStringLiteral("Hand_R"));
        ASSERT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    }
};

TEST_F(LinkToSubNodeTest, OkIsOneStepThatUndoTakesBackWholly)
{
    LinkSwordToHand();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    UB::CHandle* grip = Node(QStringLiteral("Grip_R"));
    const CSceneSnapshot before = Scene().Snapshot();
    QStringList listed;
    CModalAnswer answer([&](QWidget* dialog) {
        listed = TreeLines(dialog);
        ClickTreeItem(dialog, QStringLiteral("Grip_R"));
        ClickDialogButton(dialog, QStringLiteral("qtAlignPosRot"));
        // The preview already shows the sword in the grip.
        EXPECT_TRUE(
            SamePlace(Scene().WorldTransformAt(grip, 0), Scene().WorldTransformAt(sword, 0)));
        ClickDialogButton(dialog, QStringLiteral("qtOKPushButton"));
    });
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
    ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";

    // The knight's skeleton as the sample scene means it to be offered: grips first, the lone
    // Skeleton looked through, attachment points only below the body, nothing of kinds 4, 8
    // or 17, nothing unlinkable, the excluded sheath bare, the gizmos left out.
    EXPECT_EQ(listed, (QStringList{
                          QStringLiteral("Knight"),
                          QStringLiteral("  Body"),
                          QStringLiteral("    Grip_L"),
                          QStringLiteral("    Grip_R"),
                          QStringLiteral("      Grip_R_Tip"),
                          QStringLiteral("    Grip_Back"),
                          QStringLiteral("    Holster_Hip"),
                          QStringLiteral("      Holster_Strap"),
                          QStringLiteral("    Sheath"),
                      }));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Grip_R"));
    EXPECT_TRUE(SamePlace(Scene().WorldTransformAt(grip, 0), Scene().WorldTransformAt(sword, 0)));
    const CSceneSnapshot accepted = Scene().Snapshot();
    EXPECT_EQ(accepted.undoCount, before.undoCount + 1);
    EXPECT_EQ(Scene().UndoStack()->undoText(), QStringLiteral("Link Sword to Grip_R"));

    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_TRUE(KV::Test::SameScene({before.file, accepted.undoCount, before.undoIndex, true},
                                    Scene().Snapshot()));
    Action(QStringLiteral("qtRedoAction"))->trigger();
    EXPECT_TRUE(KV::Test::SameScene(accepted, Scene().Snapshot()));
}

TEST_F(LinkToSubNodeTest, CancelLeavesTheWholeSceneAsItWasBetweenKeys)
{
    // The hat rides on the knight's head from 0 and on the squire's from 50; at 20 it has no
    // key of its own.
    OpenWindow();
    Scene().SetCurrentTime(20);
    ClickNode(QStringLiteral("Hat"));
    const CSceneSnapshot before = Scene().Snapshot();
    for (bool previews : {false, true}) {
        SCOPED_TRACE(previews ? "after previews" : "at once");
        CModalAnswer answer([&](QWidget* dialog) {
            if (previews) {
                ClickTreeItem(dialog, QStringLiteral("Grip_R_Tip"));
                ClickDialogButton(dialog, QStringLiteral("qtAlignPosRot"));
                QTest::keyClicks(
                    dialog->findChild<QLineEdit*>(QStringLiteral("qtObjectTreeSearchLineEdit")),
                    QStringLiteral("hol"));
                dialog->findChild<QAction*>(QStringLiteral("qtListAction"))->trigger();
                ClickTreeItem(dialog, QStringLiteral("Holster_Strap"));
                ClickDialogButton(dialog, QStringLiteral("qtAlignPos"));
                EXPECT_EQ(ParentName(QStringLiteral("Hat")), QStringLiteral("Holster_Strap"));
                EXPECT_TRUE(Window().isWindowModified());
            }
            ClickDialogButton(dialog, QStringLiteral("qtCancelPushButton"));
        });
        ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
        ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";
        EXPECT_TRUE(KV::Test::SameScene(before, Scene().Snapshot()));
        EXPECT_FALSE(Window().isWindowModified());
    }
    // The search field's clear button fades with an animation that deletes itself once it has
    // run its time; the event loop must run that long before the window goes.
    QTest::qWait(250);
}

TEST_F(LinkToSubNodeTest, NoAlignmentAfterAnAlignedPreviewPutsTheSwordBackInTheHand)
{
    LinkSwordToHand();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    const TransformRecord inHand = Scene().WorldTransformAt(sword, 0);
    CModalAnswer answer([&](QWidget* dialog) {
        ClickTreeItem(dialog, QStringLiteral("Grip_R_Tip"));
        ClickDialogButton(dialog, QStringLiteral("qtAlignPosRot"));
        ClickDialogButton(dialog, QStringLiteral("qtNoAlign"));
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
        EXPECT_TRUE(SamePlace(inHand, Scene().WorldTransformAt(sword, 0)));
        ClickDialogButton(dialog, QStringLiteral("qtOKPushButton"));
    });
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
    ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";
    // Linked to the tip without alignment, the sword stays where it was.
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Grip_R_Tip"));
    EXPECT_TRUE(SamePlace(inHand, Scene().WorldTransformAt(sword, 0)));
}

} // namespace KV::test
