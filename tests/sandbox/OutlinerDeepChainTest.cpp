// The outliner on a link chain far deeper than Qt can lay out expanded: it opens, follows the
// selection, takes '*' and rebuilds without exhausting the stack, levels past its limit shut.

#include "COutliner.h"
#include "KVSceneModel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

namespace {

TEST(OutlinerDeepChain, ShowsSelectsExpandsAndRebuildsAChainOfAHundredThousandLinks)
{
    constexpr int kLimit = KV::COutliner::kMaxExpandedDepth;
    KV::CSceneModel scene;
    QVector<UB::CHandle*> chain{scene.AddObject({})};
    for (int i = 1; i < 100000; ++i)
        chain.append(scene.AddNode(chain.last(), {}));
    KV::COutliner outliner(&scene);
    outliner.resize(300, 400);
    outliner.show();
    const auto paint = [&] {
        QApplication::processEvents(); // the rebuild a scene change asks for
        outliner.viewport()->repaint();
    };
    paint();
    EXPECT_TRUE(outliner.ItemOf(chain[kLimit - 1])->isExpanded());
    EXPECT_FALSE(outliner.ItemOf(chain[kLimit])->isExpanded());

    scene.SetSelection({chain.last()});
    paint();
    EXPECT_TRUE(outliner.ItemOf(chain.last())->isSelected());

    outliner.setCurrentItem(outliner.ItemOf(chain[kLimit - 3]));
    QTest::keyClick(&outliner, Qt::Key_Asterisk);
    paint();
    EXPECT_FALSE(outliner.ItemOf(chain[kLimit])->isExpanded());

    // A row the user shuts stays shut through the next rebuild.
    outliner.ItemOf(chain[10])->setExpanded(false);
    scene.SetSelection({chain[5]});
    scene.SetCurrentTime(1);
    paint();
    EXPECT_FALSE(outliner.ItemOf(chain[10])->isExpanded());
    EXPECT_TRUE(outliner.ItemOf(chain[9])->isExpanded());
}

} // namespace
