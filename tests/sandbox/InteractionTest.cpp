// What the host shows while the user works: readable viewport labels, the node under the cursor
// while picking, a view that stays put under previews, link keys on the timeline, and a layout
// that keeps every part usable at small window sizes.

#include "SandboxTest.h"

#include "CCommandScope.h"
#include "CKeySlider.h"
#include "CNodeNames.h"
#include "CTimelineBar.h"
#include "CViewport.h"

#include <QAction>
#include <QDockWidget>
#include <QImage>
#include <QTest>

namespace KV::test {

TEST_F(SandboxTest, WhilePickingOnlyTheNodeUnderTheCursorIsNamedAndNoLabelCoversAnother)
{
    OpenWindowWithoutPlugins();
    CViewport* viewport = Window().Viewport();
    ClickNode(QStringLiteral("Sword"));
    Action(QStringLiteral("qtPickMode2"))->trigger();
    UB::CHandle* hand = Node(QStringLiteral("Hand_R"));
    QTest::mouseMove(viewport, viewport->NodePosition(hand));

    EXPECT_EQ(viewport->HoveredNode(), hand);
    const QVector<CViewport::CLabel> labels = viewport->Labels();
    QStringList named;
    for (int i = 0; i < labels.size(); ++i) {
        named << Scene().Name(labels[i].node);
        for (int j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].rect.intersects(labels[j].rect))
                << named.last().toStdString() << " covers "
                << Scene().Name(labels[j].node).toStdString();
    }
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first().node, hand);
    EXPECT_TRUE(labels.first().emphasised);
    // The skeletons' other nodes stay unnamed; the objects are named where there is room.
    for (const char* quiet : {"Hand_L", "Spine", "Head", "Grip_R"})
        EXPECT_FALSE(named.contains(QLatin1String(quiet))) << quiet;
    for (const char* object : {"Sword", "Knight", "Squire", "Table"})
        EXPECT_TRUE(named.contains(QLatin1String(object))) << object;
}

TEST_F(SandboxTest, APreviewFarAwayDoesNotReframeTheViewOnlyFitViewportDoes)
{
    OpenWindowWithoutPlugins();
    CViewport* viewport = Window().Viewport();
    UB::CHandle* sword = Node(QStringLiteral("Sword"));
    UB::CHandle* knight = Node(QStringLiteral("Knight"));
    const QPoint knightAt = viewport->NodePosition(knight);
    const TransformRecord before = Scene().WorldTransformAt(sword, 0);

    // A dialog's preview throws the sword far out; the end of the dialog takes it back.
    TransformRecord far = before;
    far.position[0] = 5000.0f;
    {
        const CCommandScope dialog(&Scene());
        ASSERT_TRUE(Scene().SetTransform(sword, 0, far).IsSucceeded());
        EXPECT_EQ(viewport->NodePosition(knight), knightAt);
    }
    ASSERT_TRUE(SamePlace(before, Scene().WorldTransformAt(sword, 0)));
    EXPECT_EQ(viewport->NodePosition(knight), knightAt);

    const CCommandScope dialog(&Scene());
    Scene().SetTransform(sword, 0, far);
    Action(QStringLiteral("qtFitViewAction"))->trigger();
    EXPECT_NE(viewport->NodePosition(knight), knightAt);
    EXPECT_TRUE(viewport->rect().contains(viewport->NodePosition(sword)));
}

TEST_F(SandboxTest, TheTimelineMarksTheSelectionsLinkKeysNamingEachParentUnambiguously)
{
    OpenWindowWithoutPlugins();
    CKeySlider* slider = Window().Timeline()->Slider();
    ClickNode(QStringLiteral("Hat"));

    // The hat goes from the knight's head to the squire's: two nodes called Head.
    const QVector<CKeySlider::CKey> keys = slider->Keys();
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys[0].time, 0);
    EXPECT_EQ(keys[0].text, QStringLiteral("0: Hat linked to Head (Knight)"));
    EXPECT_EQ(keys[1].time, 50);
    EXPECT_EQ(keys[1].text, QStringLiteral("50: Hat linked to Head (Squire)"));
    const QImage picture = slider->grab().toImage();
    const QColor mark = picture.pixelColor(slider->MarkPosition(50));
    EXPECT_GT(mark.red(), 200) << "no orange key mark at 50";
    EXPECT_LT(mark.blue(), 120) << "no orange key mark at 50";

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

TEST_F(SandboxTest, At800By500EveryPartStaysUsableAndGrowingGivesThePanelsBackTheirRoom)
{
    OpenWindowWithoutPlugins();
    auto* outliner = Find<QDockWidget>(QStringLiteral("qtOutlinerDock"));
    auto* modify = Find<QDockWidget>(QStringLiteral("qtModifyDock"));
    const int outlinerWidth = outliner->width();
    const int modifyWidth = modify->width();

    Window().resize(800, 500);
    QTest::qWait(50);
    CKeySlider* slider = Window().Timeline()->Slider();
    EXPECT_TRUE(slider->isVisible());
    EXPECT_GE(slider->width(), 100);
    EXPECT_GE(Window().Viewport()->height(), 100);
    EXPECT_LT(outliner->width(), outlinerWidth);

    Window().resize(1400, 860);
    EXPECT_TRUE(WaitUntil([&] { return outliner->width() == outlinerWidth; }))
        << outliner->width() << " instead of " << outlinerWidth;
    EXPECT_EQ(modify->width(), modifyWidth);
}

} // namespace KV::test
