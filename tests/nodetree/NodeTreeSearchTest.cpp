#include "NodeDialogFixture.h"
#include "SceneSketch.h"
#include "support/MessageRecorder.h"

#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

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
)";

class NodeTreeSearchTest : public NodeDialogFixture
{
protected:
    void SetUp() override
    {
        NodeDialogFixture::SetUp();
        rig = AddSketch(scene, kRig);
        dialog.BuildTree(rig, false);
    }

    static QStringList Texts(const QList<QTreeWidgetItem*>& items)
    {
        QStringList texts;
        for (QTreeWidgetItem* item : items)
            texts << item->text(0);
        return texts;
    }

    /// Selected items in pre-order, hidden ones included.
    QStringList SelectedTexts()
    {
        QList<QTreeWidgetItem*> all;
        dialog.GetAllItems(all);
        QList<QTreeWidgetItem*> selected;
        for (QTreeWidgetItem* item : all) {
            if (item->isSelected())
                selected << item;
        }
        return Texts(selected);
    }

    UB::CHandle* rig = nullptr;
};

} // namespace

TEST_F(NodeTreeSearchTest, FindsLiteralTextAnywhereInANameIgnoringCaseAndSelectsTheFirstHit)
{
    const struct
    {
        const char* text;
        QStringList hits;
    } cases[] = {
        {"ARM", {"Arm(L)", "arm_R"}}, // small and capital letters alike
        {"abc", {"xABCy"}},           // in the middle of a name
        {"arm(", {"Arm(L)"}},         // a parenthesis is a character
        {"node.1", {"node.1"}},       // a dot matches only a dot
        {"[l]", {"[L]Hand"}},         // brackets are characters
        {"*", {"*Star"}},             // so is a star
        {"_", {"arm_R", "node_1"}},   // hits in pre-order
        {"zzz", {}},                  // nothing
        {"Rigs", {}},                 // a longer text than the name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        tree->topLevelItem(0)->setSelected(true);
        const CMessageRecorder messages;
        QList<QTreeWidgetItem*> found{tree->topLevelItem(0)};

        dialog.FindItems(found, QString::fromUtf8(c.text));

        EXPECT_EQ(Texts(found), c.hits);
        EXPECT_EQ(SelectedTexts(), c.hits.mid(0, 1));
        EXPECT_EQ(tree->currentItem(), nullptr);
        EXPECT_TRUE(messages.GetWarnings().isEmpty())
            << qPrintable(messages.GetWarnings().join('|'));
    }
}

TEST_F(NodeTreeSearchTest, EmptyTextAppendsEveryItemInPreOrderAndSelectsTheFirst)
{
    Item("xABCy")->setSelected(true);
    QList<QTreeWidgetItem*> found;

    dialog.FindItems(found, QString());

    EXPECT_EQ(Texts(found), QStringList({"Rig", "Hips", "Arm(L)", "node.1", "arm_R", "node_1",
                                         "[L]Hand", "xABCy", "*Star"}));
    EXPECT_EQ(SelectedTexts(), QStringList{"Rig"});
}

TEST_F(NodeTreeSearchTest, DeselectsEverySelectedItemInPreOrderBeforeSelectingTheFirstHit)
{
    // Selected out of tree order, one of them hidden.
    Item("[L]Hand")->setSelected(true);
    Item("arm_R")->setSelected(true);
    Item("xABCy")->setSelected(true);
    Item("Arm(L)")->setSelected(true);
    Item("xABCy")->setHidden(true);
    QStringList seen;
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree,
                     [&] { seen << SelectedTexts().join(QLatin1Char(',')); });
    QList<QTreeWidgetItem*> found;

    dialog.FindItems(found, QStringLiteral("star"));

    EXPECT_EQ(seen, QStringList({"arm_R,[L]Hand,xABCy", "[L]Hand,xABCy", "xABCy", "", "*Star"}));
}

TEST_F(NodeTreeSearchTest, TypingShowsHitsWithTheirAncestorsExpandedAndHidesTheRest)
{
    tree->collapseAll();
    // Typed one key at a time: "a" also finds xABCy and expands its parent [L]Hand, and the
    // search never collapses.

    QTest::keyClicks(dialog.m_ui.qtSearch, QStringLiteral("arm"));

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig\n"
                                             "  Hips\n"
                                             "    Arm(L) [collapsed] [selected]\n"
                                             "      node.1 [hidden]\n"
                                             "    arm_R [collapsed]\n"
                                             "      node_1 [hidden]\n"
                                             "  [L]Hand [hidden]\n"
                                             "    xABCy [hidden]\n"
                                             "  *Star [hidden]"));
    EXPECT_TRUE(dialog.m_enterPending);

    // Emptying the field shows everything again, selects the root and collapses nothing.
    dialog.m_ui.qtSearch->clear();

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig [selected]\n"
                                             "  Hips\n"
                                             "    Arm(L) [collapsed]\n"
                                             "      node.1\n"
                                             "    arm_R [collapsed]\n"
                                             "      node_1\n"
                                             "  [L]Hand\n"
                                             "    xABCy\n"
                                             "  *Star"));
}

TEST_F(NodeTreeSearchTest, TextThatMatchesNothingHidesEverythingAndSelectsNothing)
{
    QTest::keyClicks(dialog.m_ui.qtSearch, QStringLiteral("qq"));

    QList<QTreeWidgetItem*> all;
    dialog.GetAllItems(all);
    for (QTreeWidgetItem* item : all)
        EXPECT_TRUE(item->isHidden()) << item->text(0).toStdString();
    EXPECT_TRUE(SelectedTexts().isEmpty());
}

TEST_F(NodeTreeSearchTest, HidesOrShowsEverythingAndExpandsOrCollapsesAncestors)
{
    QList<QTreeWidgetItem*> all;
    dialog.GetAllItems(all);

    dialog.SetAllItemsHidden(true);
    for (QTreeWidgetItem* item : all)
        EXPECT_TRUE(item->isHidden()) << item->text(0).toStdString();
    dialog.SetAllItemsHidden(false);
    for (QTreeWidgetItem* item : all)
        EXPECT_FALSE(item->isHidden()) << item->text(0).toStdString();

    EXPECT_EQ(dialog.ExpandAncestors(Item("node.1"), false).code, 0);
    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig [collapsed]\n"
                                             "  Hips [collapsed]\n"
                                             "    Arm(L) [collapsed]\n"
                                             "      node.1\n"
                                             "    arm_R\n"
                                             "      node_1\n"
                                             "  [L]Hand\n"
                                             "    xABCy\n"
                                             "  *Star"));
    EXPECT_EQ(dialog.ExpandAncestors(Item("Rig"), true).code, 0);
    EXPECT_FALSE(Item("Rig")->isExpanded());
    EXPECT_EQ(dialog.ExpandAncestors(Item("node_1"), true).code, 0);
    EXPECT_TRUE(Item("Rig")->isExpanded());
    EXPECT_TRUE(Item("Hips")->isExpanded());
    EXPECT_FALSE(Item("Arm(L)")->isExpanded());
}

TEST_F(NodeTreeSearchTest, SelectNodeSelectsItsItemQuietlyOrNothingForAnAbsentNode)
{
    UB::CHandle* elsewhere = AddSketch(scene, "Prop\n  Handle");
    Item("Rig")->setSelected(true);
    Item("xABCy")->setSelected(true);
    qRegisterMetaType<QTreeWidgetItem*>("QTreeWidgetItem*");
    QSignalSpy selection(tree, &QTreeWidget::itemSelectionChanged);
    QSignalSpy current(tree, &QTreeWidget::currentItemChanged);

    dialog.SelectNode(scene.FindByName(QStringLiteral("arm_R")));

    EXPECT_EQ(SelectedTexts(), QStringList{"arm_R"});
    EXPECT_EQ(tree->currentItem(), Item("arm_R"));
    EXPECT_EQ(selection.count(), 2); // the two deselections; the new selection is quiet
    EXPECT_EQ(current.count(), 0);

    for (UB::CHandle* absent : {elsewhere, static_cast<UB::CHandle*>(nullptr)}) {
        Item("Hips")->setSelected(true);
        dialog.SelectNode(absent);
        EXPECT_TRUE(SelectedTexts().isEmpty());
    }

    dialog.BuildTree(nullptr, false);
    dialog.SelectNode(rig);
    EXPECT_TRUE(tree->selectedItems().isEmpty());
}

TEST_F(NodeTreeSearchTest, ClearSelectionLeavesHiddenSelectedItemsAlone)
{
    Item("Hips")->setSelected(true);
    Item("xABCy")->setSelected(true);
    Item("xABCy")->setHidden(true);

    dialog.ClearSelection();

    EXPECT_EQ(SelectedTexts(), QStringList{"xABCy"});
}

TEST_F(NodeTreeSearchTest, HorizontalScrollAfterAClickOnAnItemIsUndoneOnce)
{
    UB::CHandle* chain = AddSketch(scene, []() {
        QString drawing;
        for (int level = 0; level < 40; ++level)
            drawing += QString(level * 2, QLatin1Char(' ')) +
                       QStringLiteral("a_rather_long_bone_name_%1\n").arg(level);
        return drawing;
    }());
    dialog.BuildTree(chain, false);
    dialog.resize(200, 300);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QScrollBar* bar = tree->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 100);

    // Without a click nothing is undone.
    bar->setValue(50);
    EXPECT_EQ(bar->value(), 50);

    bar->setValue(bar->maximum());
    const QRect row = tree->visualItemRect(tree->topLevelItem(0)->child(0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(tree->viewport()->width() / 2, row.center().y()));
    bar->setValue(0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    EXPECT_EQ(bar->value(), 0);
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

TEST_F(NodeTreeSearchTest, SearchKeystrokesEndAndAnnounceLikeHidingFindingAndShowingOneByOne)
{
    CTestNodeDialog plain;
    ASSERT_EQ(plain.Initialize(&scene).code, 0);
    plain.BuildTree(rig, false);
    QTreeWidget* plainTree = plain.GetTreeWidget();
    for (QTreeWidget* each : {tree, plainTree}) {
        each->collapseAll();
        each->topLevelItem(0)->child(1)->setSelected(true);           // [L]Hand
        each->topLevelItem(0)->child(0)->child(1)->setSelected(true); // arm_R
    }
    // What a selection listener sees at each announcement: the visible selected items, then
    // every selected item.
    QStringList fusedSeen;
    QStringList plainSeen;
    const auto watch = [](QTreeWidget* watched, CTestNodeDialog& owner, QStringList& log) {
        QObject::connect(watched, &QTreeWidget::itemSelectionChanged, watched, [&, watched] {
            QStringList visible;
            for (QTreeWidgetItem* item : watched->selectedItems())
                visible << item->text(0);
            QList<QTreeWidgetItem*> all;
            owner.GetAllItems(all);
            QStringList selected;
            for (QTreeWidgetItem* item : all) {
                if (item->isSelected())
                    selected << item->text(0);
            }
            log << visible.join(QLatin1Char(',')) + QLatin1Char('|') +
                       selected.join(QLatin1Char(','));
        });
    };
    watch(tree, dialog, fusedSeen);
    watch(plainTree, plain, plainSeen);

    for (const char* text : {"a", "ar", "arm", "", "1", "node.", "zz", "", "R"}) {
        SCOPED_TRACE(text);
        QList<QTreeWidgetItem*> found;
        dialog.ApplySearch(found, QString::fromUtf8(text));
        SearchOneByOne(plain, QString::fromUtf8(text));

        EXPECT_EQ(DrawTree(tree), DrawTree(plainTree));
        EXPECT_EQ(fusedSeen, plainSeen);
    }
    EXPECT_GT(plainSeen.size(), 10);
}
