// Link to Sub-Node through the sandbox's window: the plug-in's modal dialog previews on the
// host's scene; OK leaves one undo step, Cancel leaves the scene as it was.

#include "CSubNodeDialogUser.h"
#include "SandboxTest.h"
#include "support/TreeText.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
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

TEST_F(LinkToSubNodeTest, OkLinksToTheGripAlignedAndOneUndoGoesBackToTheHand)
{
    LinkSwordToHand();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    UB::CHandle* grip = Node(QStringLiteral("Grip_R"));
    const TransformRecord inHand = Scene().WorldTransformAt(sword, 0);
    const int undoSteps = Scene().UndoStack()->count();
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
    EXPECT_EQ(Scene().UndoStack()->count(), undoSteps + 1);

    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(SamePlace(inHand, Scene().WorldTransformAt(sword, 0)));
}

TEST_F(LinkToSubNodeTest, CancelAfterPreviewsLeavesTheSceneAndTheHistoryAsTheyWere)
{
    LinkSwordToHand();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    const TransformRecord local = Scene().LocalTransformAt(sword, 0);
    const TransformRecord world = Scene().WorldTransformAt(sword, 0);
    const int undoSteps = Scene().UndoStack()->count();
    const int undoIndex = Scene().UndoStack()->index();

    CModalAnswer answer([&](QWidget* dialog) {
        ClickTreeItem(dialog, QStringLiteral("Grip_R_Tip"));
        ClickDialogButton(dialog, QStringLiteral("qtAlignPos"));
        ClickDialogButton(dialog, QStringLiteral("qtAlignPosRot"));
        ClickTreeItem(dialog, QStringLiteral("Grip_R"));
        EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Grip_R"));
        ClickDialogButton(dialog, QStringLiteral("qtCancelPushButton"));
    });
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkSubNode")));
    ASSERT_TRUE(answer.Answered()) << "the Link to Sub-Node dialog did not open";

    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(SamePlace(local, Scene().LocalTransformAt(sword, 0)));
    EXPECT_TRUE(SamePlace(world, Scene().WorldTransformAt(sword, 0)));
    EXPECT_EQ(Scene().UndoStack()->count(), undoSteps);
    EXPECT_EQ(Scene().UndoStack()->index(), undoIndex);
}

} // namespace KV::test
