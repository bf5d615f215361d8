// The host side of the sandbox on its own (no plug-in): selection and picking in the viewport
// and the outliner, the Object section, deleting, readable labels, a view that stays put under
// previews, and link keys on the timeline.

#include "SandboxTest.h"

#include "CCommandScope.h"
#include "CKeySlider.h"
#include "CNodeNames.h"
#include "COutliner.h"
#include "CTimelineBar.h"
#include "CViewport.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace KV::test {

class SandboxViewsTest : public SandboxTest
{
protected:
    void SetUp() override
    {
        SandboxTest::SetUp();
        OpenWindowWithoutPlugins();
    }

    QStringList Selected()
    {
        QStringList names;
        for (UB::CHandle* node : Scene().Selection())
            names << Scene().Name(node);
        return names;
    }

    void ClickOutlinerItem(const char* name, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        // Rows are rebuilt after scene changes: look the row up once pending events have run.
        QCoreApplication::processEvents();
        COutliner* outliner = Window().Outliner();
        QTreeWidgetItem* item = outliner->ItemOf(Node(QLatin1String(name)));
        ASSERT_NE(item, nullptr);
        outliner->scrollToItem(item);
        QTest::mouseClick(outliner->viewport(), Qt::LeftButton, modifiers,
                          outliner->visualItemRect(item).center());
    }

    QString Label(const char* name) { return Find<QLabel>(QLatin1String(name))->text(); }
};

TEST_F(SandboxViewsTest, SelectionFollowsClicksAndCtrlClicksInBothViews)
{
    CViewport* viewport = Window().Viewport();
    ClickNode(QStringLiteral("Sword"));
    ClickNode(QStringLiteral("Barrel"), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (QStringList{"Sword", "Barrel"}));
    EXPECT_TRUE(Window().Outliner()->ItemOf(Node(QStringLiteral("Barrel")))->isSelected());
    ClickNode(QStringLiteral("Sword"), Qt::ControlModifier);
    EXPECT_EQ(Selected(), QStringList{"Barrel"});
    ASSERT_EQ(viewport->NodeAt(QPoint(4, 4)), nullptr);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_TRUE(Selected().isEmpty());

    // The outliner selects for the scene, in the order of the clicks.
    ClickOutlinerItem("Lantern");
    ClickOutlinerItem("Cart", Qt::ControlModifier);
    EXPECT_EQ(Selected(), (QStringList{"Lantern", "Cart"}));
}

TEST_F(SandboxViewsTest, PickingNamesTheNodeUnderTheCursorRefusesACycleAndEndsOnARightClick)
{
    CViewport* viewport = Window().Viewport();
    ClickNode(QStringLiteral("Knight"));
    Trigger("qtPickMode2");
    ASSERT_EQ(Scene().PickMode(), ePickParent);
    // The mode shows wherever a click would act differently, with the way out of it.
    EXPECT_EQ(viewport->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(Window().Outliner()->viewport()->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(Label("qtPickModeLabel").contains(QStringLiteral("right-click or Esc")));

    // Only the node under the cursor is named among the skeletons' nodes, emphasised, and no
    // label covers another.
    UB::CHandle* hand = Node(QStringLiteral("Hand_R"));
    QTest::mouseMove(viewport, viewport->NodePosition(hand));
    EXPECT_EQ(viewport->HoveredNode(), hand);
    const QVector<CViewport::CLabel> labels = viewport->Labels();
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first().node, hand);
    EXPECT_TRUE(labels.first().emphasised);
    QStringList named;
    for (int i = 0; i < labels.size(); ++i) {
        named << Scene().Name(labels[i].node);
        for (int j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].rect.intersects(labels[j].rect))
                << named.last().toStdString() << " covers "
                << Scene().Name(labels[j].node).toStdString();
    }
    EXPECT_FALSE(named.contains(QStringLiteral("Hand_L")) ||
                 named.contains(QStringLiteral("Head")));
    EXPECT_TRUE(named.contains(QStringLiteral("Sword")) && named.contains(QStringLiteral("Table")));

    ClickNode(QStringLiteral("Hand_R"));
    EXPECT_EQ(ParentName(QStringLiteral("Knight")), QString());
    EXPECT_TRUE(StatusText().contains(QStringLiteral("Hand_R hangs below Knight")) &&
                StatusText().contains(QStringLiteral("cycle")))
        << StatusText().toStdString();
    EXPECT_EQ(Scene().PickMode(), ePickParent);
    ClickNode(QStringLiteral("Knight"));
    EXPECT_TRUE(StatusText().contains(QStringLiteral("cannot be its own parent")));

    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(Scene().PickMode(), ePickNone);
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(Label("qtPickModeLabel").isEmpty());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no context menu after a cancel";
    EXPECT_EQ(Selected(), QStringList{"Knight"});
}

TEST_F(SandboxViewsTest, ObjectSectionAndTimelineShowTheSelectionsLinksNamedUnambiguously)
{
    ClickNode(QStringLiteral("Shield"));
    EXPECT_EQ(Label("qtObjectType"), QStringLiteral("3 – Mesh"));
    // Both characters have a Grip_L: the parent is named with its character, the table alone.
    EXPECT_EQ(Label("qtObjectParent"), QStringLiteral("Grip_L (Knight)"));
    EXPECT_EQ(Label("qtObjectLinkKeys"), QStringLiteral("0: Grip_L (Knight); 60: Table"));
    Scene().SetCurrentTime(65);
    EXPECT_EQ(Label("qtObjectParent"), QStringLiteral("Table"));
    // The hat goes from the knight's head to the squire's: two nodes called Head, marked in
    // orange on the timeline.
    CKeySlider* slider = Window().Timeline()->Slider();
    ClickNode(QStringLiteral("Hat"));
    const QVector<CKeySlider::CKey> keys = slider->Keys();
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys[0].time, 0);
    EXPECT_EQ(keys[0].text, QStringLiteral("0: Hat linked to Head (Knight)"));
    EXPECT_EQ(keys[1].time, 50);
    EXPECT_EQ(keys[1].text, QStringLiteral("50: Hat linked to Head (Squire)"));
    const QColor mark = slider->grab().toImage().pixelColor(slider->MarkPosition(50));
    EXPECT_TRUE(mark.red() > 200 && mark.blue() < 120) << "no orange key mark at 50";
    Scene().SetSelection({});
    EXPECT_TRUE(slider->Keys().isEmpty());
}

TEST(NodeNamesTest, ANameIsNarrowedByObjectThenParentThenPlaceUntilItIsUnique)
{
    // Dancer › Spine › Hand, Hand; Dancer › Hand; Puppet › Hand; objects Prop, Hand, Hand
    CSceneModel scene;
    UB::CHandle* dancer = scene.AddObject({QStringLiteral("Dancer")});
    UB::CHandle* spine = scene.AddNode(dancer, {QStringLiteral("Spine")});
    UB::CHandle* first = scene.AddNode(spine, {QStringLiteral("Hand")});
    UB::CHandle* second = scene.AddNode(spine, {QStringLiteral("Hand")});
    UB::CHandle* direct = scene.AddNode(dancer, {QStringLiteral("Hand")});
    UB::CHandle* puppet =
        scene.AddNode(scene.AddObject({QStringLiteral("Puppet")}), {QStringLiteral("Hand")});
    const CNodeNames names(&scene);
    EXPECT_EQ(names.Unambiguous(scene.AddObject({QStringLiteral("Prop")})), QStringLiteral("Prop"));
    EXPECT_EQ(names.Unambiguous(puppet), QStringLiteral("Hand (Puppet)"));
    EXPECT_EQ(names.Unambiguous(direct), QStringLiteral("Hand (Dancer)"));
    EXPECT_EQ(names.Unambiguous(first), QStringLiteral("Hand (Dancer › Spine, 1 of 2)"));
    EXPECT_EQ(names.Unambiguous(second), QStringLiteral("Hand (Dancer › Spine, 2 of 2)"));
    UB::CHandle* object = scene.AddObject({QStringLiteral("Hand")});
    EXPECT_EQ(CNodeNames(&scene).Unambiguous(object), QStringLiteral("Hand"));
    scene.AddObject({QStringLiteral("Hand")});
    EXPECT_EQ(CNodeNames(&scene).Unambiguous(object), QStringLiteral("Hand (1 of 2)"));
}

TEST_F(SandboxViewsTest, DeletingReachesEveryViewAndUndoBringsBackTheSavedState)
{
    ClickNode(QStringLiteral("Cart"));
    UB::CHandle* lantern = Node(QStringLiteral("Lantern"));
    const QPoint lanternAt = Window().Viewport()->NodePosition(lantern);
    Trigger("qtDeleteSelection");

    // The cart goes; the lantern that hung on it stays where it was, unlinked.
    EXPECT_EQ(Scene().FindByName(QStringLiteral("Cart")), nullptr);
    EXPECT_EQ(ParentName(QStringLiteral("Lantern")), QString());
    EXPECT_EQ(Window().Viewport()->NodePosition(lantern), lanternAt);
    EXPECT_EQ(Label("qtObjectName"), QStringLiteral("Nothing selected"));
    EXPECT_TRUE(WaitUntil([&] {
        return Window()
            .Outliner()
            ->findItems(QStringLiteral("Cart"), Qt::MatchExactly | Qt::MatchRecursive)
            .isEmpty();
    }));
    EXPECT_NE(Window().Outliner()->ItemOf(lantern), nullptr);
    EXPECT_TRUE(Window().isWindowModified());
    Trigger("qtUndoAction");
    EXPECT_EQ(ParentName(QStringLiteral("Lantern")), QStringLiteral("Cart"));
    EXPECT_FALSE(Window().isWindowModified());
}

TEST_F(SandboxViewsTest, OnlyFitViewReframesTheViewWhilePreviewsMoveObjects)
{
    // A dialog's preview throws the sword far out; the end of the dialog takes it back. The
    // view stays put meanwhile.
    CViewport* viewport = Window().Viewport();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    UB::CHandle* knight = Node(QStringLiteral("Knight"));
    const QPoint knightAt = viewport->NodePosition(knight);
    const TransformRecord before = World(QStringLiteral("Sword"));
    TransformRecord far = before;
    far.position[0] = 5000.0f;
    for (bool fit : {false, true}) {
        const CCommandScope dialog(&Scene());
        ASSERT_TRUE(Scene().SetTransform(sword, 0, far).IsSucceeded());
        EXPECT_EQ(viewport->NodePosition(knight), knightAt);
        if (fit) {
            Trigger("qtFitViewAction");
            EXPECT_TRUE(viewport->rect().contains(viewport->NodePosition(sword)));
        }
    }
    EXPECT_TRUE(SamePlace(before, World(QStringLiteral("Sword"))));
    EXPECT_NE(viewport->NodePosition(knight), knightAt);
}

} // namespace KV::test
