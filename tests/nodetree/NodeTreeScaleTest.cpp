#include "NodeDialogFixture.h"
#include "SceneShapes.h"
#include "SceneSketch.h"

#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <vector>

// The tool must behave on a 20,000-node tree and a 10,000-level chain exactly as on a small
// drawn rig: one checker, derived from the scene alone, judges every shape.

namespace {

struct CExpectedNode
{
    UB::CHandle* node;
    QString name;
    int parent; // index into the pre-order list, -1 for the root
};

/// The root's nodes in pre-order, read from the scene without recursion.
std::vector<CExpectedNode> SceneInPreOrder(KV::CSceneModel& scene, UB::CHandle* root)
{
    std::vector<CExpectedNode> nodes;
    std::vector<std::pair<UB::CHandle*, int>> stack{{root, -1}};
    while (!stack.empty()) {
        const auto [node, parent] = stack.back();
        stack.pop_back();
        const int index = static_cast<int>(nodes.size());
        nodes.push_back({node, scene.Name(node), parent});
        const QVector<UB::CHandle*> children = scene.StructuralChildren(node);
        for (int i = children.size() - 1; i >= 0; --i)
            stack.emplace_back(children[i], index);
    }
    return nodes;
}

/// Starts from a fully collapsed tree, types `text` into the search field and checks the
/// hits, hidden, expanded and selected states of every item against the scene.
void ExpectSearchOutcome(CTestNodeDialog& dialog, KV::CSceneModel& scene, UB::CHandle* root,
                         const QString& text)
{
    SCOPED_TRACE(text.toStdString());
    const std::vector<CExpectedNode> nodes = SceneInPreOrder(scene, root);
    std::vector<bool> hit(nodes.size());
    std::vector<bool> aboveHit(nodes.size(), false);
    for (std::size_t i = 0; i < nodes.size(); ++i)
        hit[i] = nodes[i].name.contains(text, Qt::CaseInsensitive);
    for (std::size_t i = nodes.size(); i-- > 0;) {
        if ((hit[i] || aboveHit[i]) && nodes[i].parent >= 0)
            aboveHit[static_cast<std::size_t>(nodes[i].parent)] = true;
    }

    dialog.GetTreeWidget()->collapseAll();
    dialog.m_ui.qtSearch->setText(text);

    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    ASSERT_EQ(static_cast<std::size_t>(items.size()), nodes.size());
    QList<QTreeWidgetItem*> expectedHits;
    QList<QTreeWidgetItem*> selected;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        QTreeWidgetItem* item = items[static_cast<int>(i)];
        ASSERT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(item), nodes[i].node) << i;
        ASSERT_EQ(item->text(0), nodes[i].name) << i;
        ASSERT_EQ(item->isHidden(), !hit[i] && !aboveHit[i]) << nodes[i].name.toStdString();
        ASSERT_EQ(item->isExpanded(), !text.isEmpty() && aboveHit[i])
            << nodes[i].name.toStdString();
        if (hit[i])
            expectedHits << item;
        if (item->isSelected())
            selected << item;
    }
    EXPECT_EQ(dialog.m_lastFound, expectedHits);
    EXPECT_EQ(selected, expectedHits.mid(0, 1));
}

class NodeTreeScaleTest : public NodeDialogFixture
{
protected:
    /// The handle-to-item map holds exactly the root's nodes, each with its own item.
    void ExpectEveryNodeFindsItsItem(UB::CHandle* root)
    {
        const std::vector<CExpectedNode> nodes = SceneInPreOrder(scene, root);
        QList<QTreeWidgetItem*> items;
        dialog.GetAllItems(items);
        ASSERT_EQ(static_cast<std::size_t>(items.size()), nodes.size());
        EXPECT_EQ(dialog.m_handleToItem.Size(), nodes.size());
        for (std::size_t i = 0; i < nodes.size(); ++i)
            ASSERT_EQ(dialog.m_handleToItem.Find(nodes[i].node), items[static_cast<int>(i)]) << i;
    }

    void BuildAndSearch(UB::CHandle* root, const QStringList& texts)
    {
        dialog.BuildTree(root, false);
        ExpectEveryNodeFindsItsItem(root);
        for (const QString& text : texts)
            ExpectSearchOutcome(dialog, scene, root, text);
    }
};

} // namespace

TEST_F(NodeTreeScaleTest, SmallDrawnRig)
{
    UB::CHandle* root = AddSketch(scene, R"(
Rig
  Hips
    Spine_1
      Spine_2
    Leg_1
  Head_12
    Jaw
)");
    BuildAndSearch(root, {"_1", "_12", "JAW", "hips", "zz", ""});
}

TEST_F(NodeTreeScaleTest, LargeBalancedTree)
{
    UB::CHandle* root = AddBalancedTree(scene, 20000, 7, QStringLiteral("node"));
    BuildAndSearch(root, {"_1", "_12", "_1999", "NODE_77", "zz", ""});

    // A smaller rebuild keeps none of the large one's entries.
    UB::CHandle* small = AddFlatList(scene, 30, QStringLiteral("prop"));
    dialog.BuildTree(small, false);
    ExpectEveryNodeFindsItsItem(small);
    EXPECT_EQ(dialog.m_handleToItem.Find(root), nullptr);
    EXPECT_EQ(dialog.m_handleToItem.Find(nullptr), nullptr);
}

TEST_F(NodeTreeScaleTest, LongFlatList)
{
    UB::CHandle* root = AddFlatList(scene, 20000, QStringLiteral("mesh"));
    BuildAndSearch(root, {"_12", "_19999", ""});
}

TEST_F(NodeTreeScaleTest, ChainTenThousandLevelsDeepIsBuiltSearchedAndShown)
{
    UB::CHandle* root = AddChain(scene, 10000, QStringLiteral("link"));
    BuildAndSearch(root, {"_9999", "_1", "", "_5"});

    dialog.resize(300, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_FALSE(dialog.grab().isNull());
    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    dialog.GetTreeWidget()->scrollToItem(items.last());
    EXPECT_FALSE(dialog.grab().isNull());
    dialog.BuildTree(root, false);
    EXPECT_FALSE(dialog.grab().isNull());
}
