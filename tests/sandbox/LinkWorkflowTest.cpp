// The linkage workflows an animator runs in the sandbox, end to end: the plug-in's section and
// commands, the host's pick mode in the viewport, the timeline and undo.

#include "SandboxTest.h"

#include "COutliner.h"
#include "CPluginHost.h"
#include "CViewport.h"
#include "host/KVPluginInterface.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

namespace KV::test {

using LinkWorkflowTest = SandboxWithPluginTest;

namespace {

/// The names of the outliner items above the node's item, nearest first.
QStringList OutlinerAncestors(COutliner* outliner, UB::CHandle* node)
{
    QStringList names;
    QTreeWidgetItem* item = outliner->ItemOf(node);
    for (item = item != nullptr ? item->parent() : nullptr; item != nullptr; item = item->parent())
        names << item->text(0);
    return names;
}

} // namespace

TEST_F(LinkWorkflowTest, PickingTheHandLinksTheSwordAndKeepsItInPlace)
{
    OpenWindow();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    const TransformRecord before = Scene().WorldTransformAt(sword, 0);
    const int undoSteps = Scene().UndoStack()->count();

    ClickNode(QStringLiteral("Sword"));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtPickParent")));
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    EXPECT_EQ(Window().Viewport()->cursor().shape(), Qt::CrossCursor);
    // The mode shows in every place a click would act differently, with the way out of it.
    const QString pickText = Find<QLabel>(QStringLiteral("qtPickModeLabel"))->text();
    EXPECT_TRUE(pickText.startsWith(QStringLiteral("Picking a parent"))) << pickText.toStdString();
    EXPECT_TRUE(pickText.contains(QStringLiteral("right-click or Esc"))) << pickText.toStdString();
    EXPECT_EQ(Window().Outliner()->viewport()->cursor().shape(), Qt::CrossCursor);

    ClickNode(QStringLiteral("Hand_R"));

    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
    EXPECT_TRUE(SamePlace(before, Scene().WorldTransformAt(sword, 0)));
    EXPECT_EQ(Scene().PickMode(), ePickNone);
    EXPECT_EQ(Window().Viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(Find<QLabel>(QStringLiteral("qtPickModeLabel"))->text().isEmpty());
    EXPECT_EQ(Window().Outliner()->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Scene().UndoStack()->count(), undoSteps + 1);
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("qtLinkNodeText"))->text(), QStringLiteral("Hand_R"));
    EXPECT_TRUE(WaitUntil([&] {
        return OutlinerAncestors(Window().Outliner(), sword).value(0) == QStringLiteral("Hand_R");
    }));
    EXPECT_TRUE(StatusText().contains(QStringLiteral("Linked Sword to Hand_R")));

    // One undo takes the link back; redo makes it again.
    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_TRUE(SamePlace(before, Scene().WorldTransformAt(sword, 0)));
    Action(QStringLiteral("qtRedoAction"))->trigger();
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Hand_R"));
}

TEST_F(LinkWorkflowTest, UnlinkAndLinkToCameraFromTheSectionKeepObjectsInPlace)
{
    OpenWindow();
    UB::CHandle* hat = Node(QStringLiteral("Hat"));
    const TransformRecord hatBefore = Scene().WorldTransformAt(hat, 0);
    ClickNode(QStringLiteral("Hat"));
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("qtLinkNodeText"))->text(), QStringLiteral("Head"));
    // Only a hand prop may go to the camera.
    EXPECT_FALSE(Find<QWidget>(QStringLiteral("qtLinkCameraPushButton"))->isVisible());
    ASSERT_TRUE(ClickButton(QStringLiteral("qtUnlink")));
    EXPECT_EQ(ParentName(QStringLiteral("Hat")), QString());
    EXPECT_TRUE(SamePlace(hatBefore, Scene().WorldTransformAt(hat, 0)));
    EXPECT_FALSE(Find<QWidget>(QStringLiteral("qtUnlink"))->isEnabled());

    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    const TransformRecord swordBefore = Scene().WorldTransformAt(sword, 0);
    ClickNode(QStringLiteral("Sword"));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtLinkCameraPushButton")));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QStringLiteral("Camera01"));
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("qtLinkNodeText"))->text(),
              QStringLiteral("Camera01"));
    EXPECT_TRUE(SamePlace(swordBefore, Scene().WorldTransformAt(sword, 0)));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtUnlink")));
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_TRUE(SamePlace(swordBefore, Scene().WorldTransformAt(sword, 0)));

    // Unlinking several objects is one command, and so one undo step.
    const int steps = Scene().UndoStack()->count();
    Scene().SetSelection({Node(QStringLiteral("Shield")), Node(QStringLiteral("Lantern")),
                          Node(QStringLiteral("Canteen"))});
    ASSERT_TRUE(ClickButton(QStringLiteral("qtUnlink")));
    EXPECT_EQ(Scene().UndoStack()->count(), steps + 1);
    EXPECT_EQ(Scene().UndoStack()->undoText(), QStringLiteral("Unlink 3 objects"));
    Action(QStringLiteral("qtUndoAction"))->trigger();
    EXPECT_EQ(ParentName(QStringLiteral("Canteen")), QStringLiteral("Backpack_Strap"));
}

TEST_F(LinkWorkflowTest, ScrubbingTheTimelineShowsTheParentOfThatTime)
{
    OpenWindow();
    auto* time = Find<QSpinBox>(QStringLiteral("qtTimeSpinBox"));
    auto* parentText = Find<QLineEdit>(QStringLiteral("qtLinkNodeText"));
    UB::CHandle* hat = Node(QStringLiteral("Hat"));

    // The shield rests in the knight's left grip until time 60, then on the table.
    ClickNode(QStringLiteral("Shield"));
    EXPECT_EQ(parentText->text(), QStringLiteral("Grip_L"));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("70"));
    EXPECT_EQ(Scene().CurrentTime(), 70);
    EXPECT_EQ(parentText->text(), QStringLiteral("Table"));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("qtObjectParent"))->text(), QStringLiteral("Table"));

    // The hat moves from the knight's head to the squire's at 50: the outliner follows.
    Scene().SetSelection({hat});
    EXPECT_EQ(parentText->text(), QStringLiteral("Head"));
    EXPECT_TRUE(WaitUntil([&] {
        return OutlinerAncestors(Window().Outliner(), hat).contains(QStringLiteral("Squire"));
    }));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("10"));
    EXPECT_TRUE(WaitUntil([&] {
        return OutlinerAncestors(Window().Outliner(), hat).contains(QStringLiteral("Knight"));
    }));
}

TEST_F(LinkWorkflowTest, PlayingDisablesTheSectionAndTheLinkCommandsUntilStop)
{
    OpenWindow();
    ClickNode(QStringLiteral("Sword"));
    auto* body = Find<QGroupBox>(QStringLiteral("qtSectionGroupBox"));
    auto* link = Action(QStringLiteral("qtLinkAction"));
    ASSERT_TRUE(body->isEnabled());
    ASSERT_TRUE(link->isEnabled());

    ASSERT_TRUE(ClickButton(QStringLiteral("qtPlayButton")));
    EXPECT_TRUE(Scene().Playing());
    EXPECT_FALSE(body->isEnabled());
    EXPECT_FALSE(link->isEnabled());
    EXPECT_FALSE(Find<QWidget>(QStringLiteral("qtPlayButton"))->isEnabled());
    EXPECT_TRUE(WaitUntil([&] { return Scene().CurrentTime() > 2; }));
    // Time moving on while playing changes nothing in the section.
    EXPECT_FALSE(body->isEnabled());

    ASSERT_TRUE(ClickButton(QStringLiteral("qtStopButton")));
    EXPECT_FALSE(Scene().Playing());
    EXPECT_TRUE(body->isEnabled());
    EXPECT_TRUE(link->isEnabled());
    const UBTime stoppedAt = Scene().CurrentTime();
    QTest::qWait(100);
    EXPECT_EQ(Scene().CurrentTime(), stoppedAt);

    // The shield leaves the knight's grip for the table at 60: after a stop past it the
    // section shows the table, as the host's own panel does.
    ClickNode(QStringLiteral("Shield"));
    auto* parentText = Find<QLineEdit>(QStringLiteral("qtLinkNodeText"));
    ASSERT_EQ(parentText->text(), QStringLiteral("Grip_L"));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtPlayButton")));
    EXPECT_TRUE(WaitUntil([&] { return Scene().CurrentTime() > 62; }, 20000));
    ASSERT_TRUE(ClickButton(QStringLiteral("qtStopButton")));
    EXPECT_EQ(parentText->text(), QStringLiteral("Table"));
    EXPECT_TRUE(Find<QWidget>(QStringLiteral("qtUnlink"))->isEnabled());
}

TEST_F(LinkWorkflowTest, HotKeysOfThePluginWorkInTheWindow)
{
    OpenWindow();
    ClickNode(QStringLiteral("Sword"));
    Window().Viewport()->setFocus();

    QTest::keyClick(&Window(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_EQ(Scene().PickMode(), ePickNone);

    // The section hot key brings the Linkage section back into view, expanded.
    const QList<CPluginHost::CSection> sections = Window().Plugins()->Sections();
    ASSERT_EQ(sections.size(), 1);
    sections[0].section->SetSectionExpandState(false);
    QTest::keyClick(&Window(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(sections[0].section->GetSectionExpandState());
    EXPECT_TRUE(Scene()
                    .JournalLines({QStringLiteral("ShowSection")})
                    .contains(QStringLiteral("ShowSection(4, 0, 336) -> 0")));
}

} // namespace KV::test
