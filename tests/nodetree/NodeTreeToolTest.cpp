// The node tree tool's operations on a small test dialog over the scene model: building,
// searching, hiding, expanding and selecting, and the dialog's set-up.

#include "SceneSketch.h"
#include "TestNodeDialog.h"

#include "nodetree/CNodeHandleValue.h"
#include "nodetree/HostText.h"
#include "support/QtPrinters.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// Names that a pattern-reading search gets wrong: brackets, dots, parentheses and stars.
const char* const kRig = R"(
Rig
  Hips
    Arm(L)
      node.1
    arm_R
      node_1
  [L]Hand
    xABCy
  *Star
  <empty>
)";

QStringList Texts(const QList<QTreeWidgetItem*>& items)
{
    QStringList texts;
    for (QTreeWidgetItem* item : items)
        texts << item->text(0);
    return texts;
}

/// The texts of the selected items in pre-order, hidden ones included.
QStringList SelectedTexts(CTestNodeDialog& dialog)
{
    QList<QTreeWidgetItem*> all;
    dialog.GetAllItems(all);
    QStringList texts;
    for (QTreeWidgetItem* item : all) {
        if (item->isSelected())
            texts << item->text(0);
    }
    return texts;
}

class NodeTreeToolTest : public NodeDialogFixture
{
protected:
    void SetUp() override
    {
        NodeDialogFixture::SetUp();
        rig = AddSketch(scene, kRig);
    }

    UB::CHandle* rig = nullptr;
};

} // namespace

TEST_F(NodeTreeToolTest, BuildListsEveryNodeUnderItsParentWithItsHandleAskingInPreOrder)
{
    scene.ClearJournal();
    dialog.BuildTree(rig, false);

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig\n  Hips\n    Arm(L)\n      node.1\n    arm_R\n"
                                             "      node_1\n  [L]Hand\n    xABCy\n  *Star\n   - "));
    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    const QVector<UB::CHandle*> nodes = scene.AllNodes(); // drawn in pre-order
    ASSERT_EQ(items.size(), nodes.size());
    QStringList expectedCalls{QStringLiteral("GetNodeKind(Rig")};
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_STREQ(QMetaType::typeName(items[i]->data(0, Qt::UserRole).userType()), "UBHANDLE");
        EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(items[i]), nodes[i]);
        EXPECT_EQ(dialog.m_handleToItem.Find(nodes[i]), items[i]);
        expectedCalls << QStringLiteral("GetObjectName(") + scene.Name(nodes[i])
                      << QStringLiteral("GetChildNodes(") + scene.Name(nodes[i]);
    }
    EXPECT_EQ(dialog.m_rootNode, rig);
    const QStringList calls =
        scene.JournalLines({QStringLiteral("GetNodeKind"), QStringLiteral("GetObjectName"),
                            QStringLiteral("GetChildNodes")});
    ASSERT_EQ(calls.size(), expectedCalls.size());
    for (int i = 0; i < calls.size(); ++i)
        EXPECT_TRUE(calls[i].startsWith(expectedCalls[i])) << calls[i].toStdString();

    // A plain handle, as the host's events carry one, reads as the same node.
    EXPECT_EQ(KV::CNodeHandleValue::FromVariant(QVariant::fromValue<UB::CHandle*>(rig)), rig);
    EXPECT_EQ(KV::CNodeHandleValue::FromVariant(QVariant(42)), nullptr);
}

TEST_F(NodeTreeToolTest, RebuildIsQuietAndLeavesTheTreesSignalBlockingAsItWas)
{
    dialog.BuildTree(rig, false);
    Item("Hips")->setSelected(true);
    tree->setCurrentItem(Item("Rig"));
    qRegisterMetaType<QTreeWidgetItem*>("QTreeWidgetItem*");
    QSignalSpy selection(tree, &QTreeWidget::itemSelectionChanged);
    QSignalSpy changes(tree, &QTreeWidget::itemChanged);
    QSignalSpy expansions(tree, &QTreeWidget::itemExpanded);
    QSignalSpy current(tree, &QTreeWidget::currentItemChanged);

    dialog.BuildTree(rig, false);
    EXPECT_FALSE(tree->signalsBlocked());
    tree->blockSignals(true);
    dialog.BuildTree(rig, false);
    EXPECT_TRUE(tree->signalsBlocked());
    tree->blockSignals(false);

    EXPECT_EQ(selection.count() + changes.count() + expansions.count() + current.count(), 0);
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    EXPECT_EQ(tree->currentItem(), nullptr);
}

TEST_F(NodeTreeToolTest, RebuildsOfNullRootsListModeFailuresAndNamesInAnyScript)
{
    // A null root gives the "NULL" item without a node and keeps the remembered root.
    dialog.BuildTree(rig, false);
    dialog.BuildTree(nullptr, false);
    EXPECT_EQ(DrawTree(tree), QStringLiteral("NULL"));
    EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(tree->topLevelItem(0)), nullptr);
    EXPECT_TRUE(dialog.m_handleToItem.IsEmpty());
    EXPECT_EQ(dialog.m_rootNode, rig);

    // List mode lists the hierarchy too; the expand flag decides the root's item only.
    dialog.m_expandRoot = false;
    dialog.BuildTree(rig, true);
    EXPECT_TRUE(DrawTree(tree).startsWith(QStringLiteral("Rig [collapsed]\n  Hips\n    Arm(L)\n")))
        << DrawTree(tree).toStdString();
    dialog.m_expandRoot = true;

    // Listed twice, a node keeps its first item for selection.
    dialog.ListTwice(Node("arm_R"));
    dialog.BuildTree(rig, false);
    dialog.SelectNode(Node("arm_R"));
    EXPECT_TRUE(DrawTree(tree).contains(QStringLiteral("    arm_R [selected]\n    arm_R\n")));

    // Hips' child query fails and writes garbage into its list: Hips is listed without them.
    dialog.m_beforeAddNode = [this](UB::CHandle* node) {
        if (node == Node("Hips"))
            scene.InjectFault(QStringLiteral("GetChildNodes"), UB::ToCode(0x80004005u), 1, true);
    };
    dialog.BuildTree(rig, false);
    EXPECT_TRUE(DrawTree(tree).startsWith(QStringLiteral("Rig\n  Hips\n  [L]Hand\n")));

    // Without a host only the root is listed, nameless.
    dialog.m_host = nullptr;
    dialog.BuildTree(rig, false);
    EXPECT_EQ(DrawTree(tree), QStringLiteral(" - "));
    dialog.m_host = &scene;

    const QStringList names{QStringLiteral("Zoë"), QString::fromUtf8("骨盤_L"),
                            QString::fromUtf8("Tail \xF0\x9F\x90\x89 tip")};
    UB::CHandle* root = scene.AddObject(KV::CNodeDesc{names[0]});
    scene.AddNode(root, KV::CNodeDesc{names[1]});
    scene.AddNode(root, KV::CNodeDesc{names[2]});
    dialog.BuildTree(root, false);
    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    EXPECT_EQ(Texts(items), names);
    // Code points a host may hand over that are not characters show as the replacement one.
    EXPECT_EQ(KV::FromHostText({L'a', wchar_t(0xD800), wchar_t(0x110000), L'b'}),
              QString::fromUtf8("a\xEF\xBF\xBD\xEF\xBF\xBD"
                                "b"));
}

TEST_F(NodeTreeToolTest, FindItemsMatchesLiteralTextIgnoringCaseAndSelectsOnlyTheFirstHit)
{
    dialog.BuildTree(rig, false);
    const struct
    {
        const char* text;
        QStringList hits;
    } cases[] = {
        {"ARM", {"Arm(L)", "arm_R"}}, // small and capital letters alike, in pre-order
        {"abc", {"xABCy"}},           // in the middle of a name
        {"arm(", {"Arm(L)"}},         // a parenthesis is a character
        {"node.1", {"node.1"}},       // a dot matches only a dot
        {"[l]", {"[L]Hand"}},         // brackets are characters
        {"*", {"*Star"}},             // so is a star
        {"zzz", {}},
        {"Rigs", {}}, // a longer text than the name
        {"",
         {"Rig", "Hips", "Arm(L)", "node.1", "arm_R", "node_1", "[L]Hand", "xABCy", "*Star",
          " - "}}, // everything, appended
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Item("Rig")->setSelected(true);
        Item("xABCy")->setSelected(true);
        QList<QTreeWidgetItem*> found;
        if (*c.text != '\0')
            found << Item("Hips"); // a text replaces what the list held

        dialog.FindItems(found, QString::fromUtf8(c.text));

        EXPECT_EQ(Texts(found), c.hits);
        EXPECT_EQ(SelectedTexts(dialog), c.hits.mid(0, 1));
        EXPECT_EQ(tree->currentItem(), nullptr);
    }
}

namespace {

/// The search a node-picking dialog would make from the tool's single operations: hide all,
/// find, then show every hit and walk up from it, expanding and showing each ancestor.
void SearchOneByOne(CTestNodeDialog& dialog, const QString& text)
{
    dialog.SetAllItemsHidden(true);
    QList<QTreeWidgetItem*> found;
    dialog.FindItems(found, text);
    for (QTreeWidgetItem* item : found) {
        item->setHidden(false);
        if (!text.isEmpty())
            dialog.ExpandAncestors(item, true);
        for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent())
            above->setHidden(false);
    }
}

} // namespace

TEST_F(NodeTreeToolTest, SearchKeystrokesEndAndAnnounceLikeHidingFindingAndShowingOneByOne)
{
    CTestNodeDialog plain;
    ASSERT_EQ(plain.Initialize(&scene).code, 0);
    dialog.BuildTree(rig, false);
    plain.BuildTree(rig, false);
    QTreeWidget* plainTree = plain.GetTreeWidget();
    // What a selection listener sees at each announcement: the visible selected items, then
    // every selected item.
    QStringList fusedSeen;
    QStringList plainSeen;
    const auto watch = [](QTreeWidget* watched, CTestNodeDialog& owner, QStringList& log) {
        watched->collapseAll();
        owner.m_handleToItem.Find(owner.m_rootNode)->child(1)->setSelected(true); // [L]Hand
        owner.m_handleToItem.Find(owner.m_rootNode)->child(0)->child(1)->setSelected(true);
        QObject::connect(watched, &QTreeWidget::itemSelectionChanged, watched, [&, watched] {
            log << Texts(watched->selectedItems()).join(',') + '|' + SelectedTexts(owner).join(',');
        });
    };
    watch(tree, dialog, fusedSeen);
    watch(plainTree, plain, plainSeen);

    for (const char* text : {"a", "ar", "arm", "", "1", "node.", "zz", "", "R"}) {
        SCOPED_TRACE(text);
        dialog.ApplySearch(QString::fromUtf8(text));
        SearchOneByOne(plain, QString::fromUtf8(text));

        EXPECT_EQ(DrawTree(tree), DrawTree(plainTree));
        EXPECT_EQ(fusedSeen, plainSeen);
    }
    EXPECT_GT(plainSeen.size(), 10);

    // Items renamed, removed and added behind the tool's back are searched as they now are.
    for (QTreeWidget* edited : {tree, plainTree}) {
        QTreeWidgetItem* rigItem = edited->topLevelItem(0);
        rigItem->child(1)->setText(0, QStringLiteral("Tail")); // [L]Hand
        delete rigItem->child(0)->child(0);                    // Arm(L)
        rigItem->addChild(new QTreeWidgetItem({QStringLiteral("arm_Z")}));
    }
    for (const char* text : {"R", "Tail", "ar"}) {
        SCOPED_TRACE(text);
        dialog.ApplySearch(QString::fromUtf8(text));
        SearchOneByOne(plain, QString::fromUtf8(text));
        EXPECT_EQ(DrawTree(tree), DrawTree(plainTree));
    }
}

TEST_F(NodeTreeToolTest, ExpandingAncestorsSelectingANodeAndClearingTheSelection)
{
    dialog.BuildTree(rig, false);
    // Every ancestor, not the item itself.
    EXPECT_EQ(dialog.ExpandAncestors(Item("node.1"), false).code, 0);
    EXPECT_TRUE(DrawTree(tree).startsWith(QStringLiteral(
        "Rig [collapsed]\n  Hips [collapsed]\n    Arm(L) [collapsed]\n      node.1\n    arm_R\n")));
    dialog.ExpandAncestors(Item("node_1"), true);
    EXPECT_TRUE(DrawTree(tree).startsWith(
        QStringLiteral("Rig\n  Hips\n    Arm(L) [collapsed]\n      node.1\n    arm_R\n")));

    // SelectNode deselects (announced), then selects and makes current quietly.
    Item("Rig")->setSelected(true);
    Item("xABCy")->setSelected(true);
    qRegisterMetaType<QTreeWidgetItem*>("QTreeWidgetItem*");
    QSignalSpy selection(tree, &QTreeWidget::itemSelectionChanged);
    QSignalSpy current(tree, &QTreeWidget::currentItemChanged);
    dialog.SelectNode(Node("arm_R"));
    EXPECT_EQ(SelectedTexts(dialog), QStringList{"arm_R"});
    EXPECT_EQ(tree->currentItem(), Item("arm_R"));
    EXPECT_EQ(selection.count(), 2);
    EXPECT_EQ(current.count(), 0);

    // A node without an item, or none, leaves nothing selected.
    UB::CHandle* elsewhere = AddSketch(scene, "Prop");
    for (UB::CHandle* absent : {elsewhere, static_cast<UB::CHandle*>(nullptr)}) {
        Item("Hips")->setSelected(true);
        dialog.SelectNode(absent);
        EXPECT_TRUE(SelectedTexts(dialog).isEmpty());
    }

    // ClearSelection leaves hidden selected items alone.
    Item("Hips")->setSelected(true);
    Item("xABCy")->setSelected(true);
    Item("xABCy")->setHidden(true);
    dialog.ClearSelection();
    EXPECT_EQ(SelectedTexts(dialog), QStringList{"xABCy"});
}

TEST_F(NodeTreeToolTest, HorizontalScrollAfterAClickOnAnItemIsUndoneOnce)
{
    QString drawing;
    for (int level = 0; level < 40; ++level)
        drawing +=
            QString(level * 2, ' ') + QStringLiteral("a_rather_long_bone_name_%1\n").arg(level);
    dialog.BuildTree(AddSketch(scene, drawing), false);
    dialog.resize(200, 300);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QScrollBar* bar = tree->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 100) << "the column is as wide as its text";

    bar->setValue(50);
    EXPECT_EQ(bar->value(), 50) << "without a click nothing is undone";

    bar->setValue(bar->maximum());
    const QRect row = tree->visualItemRect(tree->topLevelItem(0)->child(0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(tree->viewport()->width() / 2, row.center().y()));
    bar->setValue(0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    EXPECT_EQ(bar->value(), 0);
}

TEST(NodeStructureDlgSetUpTest, AnUnloadableLayoutLeavesTheDialogAndTheToolUnbuilt)
{
    KV::CSceneModel scene;
    CTestNodeDialog dialog;
    EXPECT_EQ(dialog.Initialize(&scene, QStringLiteral(KV_TEST_DATA_DIR "/Missing.ui")),
              KV::CWidgetBuilder::kLayoutNotLoaded);
    EXPECT_EQ(dialog.GetTreeWidget(), nullptr);
    EXPECT_TRUE(dialog.m_iconPaths.empty());
    dialog.BuildTree(scene.AddObject(KV::CNodeDesc{QStringLiteral("Rig")}), false);
    dialog.SelectNode(nullptr);
}
