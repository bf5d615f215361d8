// The dialog's search field, its hierarchy and list views, expand and collapse, and the view
// menu, used as an animator uses them while the dialog is open.

#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

const char kRig[] = R"(
Rig
  Hips
    Spine
      Chest
        xABCy
          Finger.1
          Finger_1
      Arm(L)
    Leg
      abc_foot
  Tail
)";

class SubNodeSearchViews : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddStructure(QLatin1String(kRig));
        cup = AddSelectedObject(QStringLiteral("Cup"), Node("Hips"), Place(1, 2, 3));
    }

    QString SearchText() const
    {
        return DialogObject<QLineEdit>("qtObjectTreeSearchLineEdit")->text();
    }
    // The one preview of picking `node` without alignment, as the journal shows it.
    static QStringList PreviewWithoutAlignment()
    {
        return {QStringLiteral("SetTransform(Cup, 0, T(1,2,3)) -> 0"),
                QStringLiteral("LinkObjects([Cup], Hips, 0, 0, false, false) -> 0")};
    }

    UB::CHandle* cup = nullptr;
};

TEST_F(SubNodeSearchViews, SearchShowsTheHitsWithTheirAncestorsAndPreviewsTheFirst)
{
    RunDialog([&] {
        ChooseView("qtCollapseAction");
        scene->ClearJournal();

        TypeInSearch(QStringLiteral("abc"));
        // Ancestors of a hit are shown and expanded; the hit's own children stay hidden.
        EXPECT_EQ(DrawnTree(), QStringLiteral("Rig\n"
                                              "  Hips\n"
                                              "    Spine\n"
                                              "      Chest\n"
                                              "        xABCy [collapsed] [selected]\n"
                                              "          Finger.1 [hidden]\n"
                                              "          Finger_1 [hidden]\n"
                                              "      Arm(L) [hidden]\n"
                                              "    Leg\n"
                                              "      abc_foot\n"
                                              "  Tail [hidden]"));
        EXPECT_EQ(Dialog()->m_chosenNode, Node("xABCy"));
        // One preview per keystroke, each of its first hit.
        EXPECT_EQ(Edits(), PreviewWithoutAlignment() + PreviewWithoutAlignment() +
                               PreviewWithoutAlignment());
        EXPECT_TRUE(Dialog()->isVisible());
    });
}

TEST_F(SubNodeSearchViews, SearchIsLiteralAndIgnoresCase)
{
    RunDialog([&] {
        const struct
        {
            const char* text;
            QStringList selected;
            int shown;
        } cases[] = {
            {"finger.1", {"Finger.1"}, 6},
            {"FINGER_", {"Finger_1"}, 6},
            {"arm(", {"Arm(L)"}, 4},
            {"(l)", {"Arm(L)"}, 4},
            {"*", {}, 0},
            {"i", {"Rig"}, 8},
        };
        for (const auto& row : cases) {
            EraseSearch();
            TypeInSearch(QLatin1String(row.text));
            EXPECT_EQ(SelectedTexts(), row.selected) << row.text;
            int shown = 0;
            for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it)
                shown += (*it)->isHidden() ? 0 : 1;
            EXPECT_EQ(shown, row.shown) << row.text;
        }
    });
}

TEST_F(SubNodeSearchViews, NoHitHidesEverythingAndOkThenLinksToNoNode)
{
    EXPECT_EQ(RunDialog([&] {
                  ClickItem(QStringLiteral("Tail"));
                  scene->ClearJournal();
                  TypeInSearch(QStringLiteral("zz"));
                  EXPECT_FALSE(DrawnTree().contains(QStringLiteral("\n  Tail\n")));
                  EXPECT_EQ(DrawnTree().count(QStringLiteral("[hidden]")), 11);
                  EXPECT_TRUE(SelectedTexts().isEmpty());
                  EXPECT_EQ(Dialog()->m_chosenNode, Node("Tail")) << "kept until OK";
                  // The first "z" still found nothing; no preview names a node.
                  EXPECT_TRUE(Edits().isEmpty());
                  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
                  ClickButton("qtOKPushButton");
              }),
              QDialog::Accepted);
    EXPECT_EQ(Dialog()->m_chosenNode, nullptr);
    EXPECT_EQ(scene->JournalLines({QStringLiteral("LinkObjects")}),
              QStringList{QStringLiteral("LinkObjects([Cup], null, 0, 0, true, true) -> 0")});
}

TEST_F(SubNodeSearchViews, EmptyingTheSearchShowsEverythingAndPreviewsTheRoot)
{
    RunDialog([&] {
        TypeInSearch(QStringLiteral("leg"));
        scene->ClearJournal();
        EraseSearch();
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[hidden]")), 0);
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Rig")});
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Rig"));
        EXPECT_EQ(Edits(), PreviewWithoutAlignment());
        // Erasing is a change of text too: the next keypad Enter only ends it.
        PressKey(Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(Dialog()->isVisible());
    });
}

TEST_F(SubNodeSearchViews, SwitchingViewsAfterASearchShowsEveryNodeAndKeepsTheSelection)
{
    RunDialog([&] {
        ClickButton("qtAlignPos");
        TypeInSearch(QStringLiteral("f"));
        ClickItem(QStringLiteral("Finger_1"));
        scene->ClearJournal();

        const CMenuState inHierarchy = ChooseView("qtListAction");
        EXPECT_TRUE(inHierarchy.hierarchy && inHierarchy.list);
        EXPECT_TRUE(inHierarchy.expand && inHierarchy.collapse);
        EXPECT_EQ(SearchText(), QStringLiteral("f"));
        EXPECT_EQ(DrawnTree(), QStringLiteral("Rig\nHips\nSpine\nChest\nxABCy\nFinger.1\n"
                                              "Finger_1 [selected]\nArm(L)\nLeg\nabc_foot\nTail"));
        EXPECT_TRUE(IsChecked("qtListAction"));
        EXPECT_FALSE(IsChecked("qtHierarchyAction"));
        // The selection made again is previewed again.
        EXPECT_EQ(Edits(),
                  (QStringList{
                      QStringLiteral("SetTransform(Cup, 0, T(1,2,3)) -> 0"),
                      QStringLiteral("LinkObjects([Cup], Hips, 1, 0, false, false) -> 0"),
                      QStringLiteral("SetTransform(Cup, 0, T(1,2,3)) -> 0"),
                      QStringLiteral("LinkObjects([Cup], Finger_1, 1, 0, false, false) -> 0"),
                  }));

        const CMenuState inList = ChooseView("qtCollapseAction");
        EXPECT_TRUE(inList.hierarchy && inList.list);
        EXPECT_FALSE(inList.expand || inList.collapse) << "a flat list has nothing to fold";
        EXPECT_FALSE(IsChecked("qtCollapseAction"));

        ChooseView("qtHierarchyAction");
        EXPECT_EQ(DrawnTree(), QStringLiteral("Rig\n"
                                              "  Hips\n"
                                              "    Spine\n"
                                              "      Chest\n"
                                              "        xABCy\n"
                                              "          Finger.1\n"
                                              "          Finger_1 [selected]\n"
                                              "      Arm(L)\n"
                                              "    Leg\n"
                                              "      abc_foot\n"
                                              "  Tail"));
        EXPECT_TRUE(IsChecked("qtHierarchyAction"));
        EXPECT_FALSE(IsChecked("qtListAction"));

        // Choosing the checked view again keeps it checked and lists it anew.
        ChooseView("qtHierarchyAction");
        EXPECT_TRUE(IsChecked("qtHierarchyAction"));
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Finger_1")});
    });
}

TEST_F(SubNodeSearchViews, ARebuildSelectsOnlyTheLastOfSeveralRememberedNodes)
{
    RunDialog([&] {
        ClickItem(QStringLiteral("Leg"));
        for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it) {
            if ((*it)->text(0) == QLatin1String("Spine"))
                (*it)->setSelected(true);
        }
        ASSERT_EQ(SelectedTexts(), (QStringList{"Spine", "Leg"}));
        const QStringList order = [&] {
            QStringList texts;
            for (QTreeWidgetItem* item : Tree()->selectedItems())
                texts << item->text(0);
            return texts;
        }();
        ChooseView("qtListAction");
        EXPECT_EQ(SelectedTexts(), QStringList{order.last()});
        EXPECT_EQ(Dialog()->m_chosenNode, Node(order.last().toUtf8().constData()));
    });
}

TEST_F(SubNodeSearchViews, CollapseAndExpandFoldTheTreeAndTheRootStaysSoOnRebuilds)
{
    RunDialog([&] {
        ChooseView("qtCollapseAction");
        EXPECT_TRUE(IsChecked("qtCollapseAction"));
        EXPECT_FALSE(IsChecked("qtExpandAction"));
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 6);

        // A rebuild shows the root folded and everything below it open.
        ChooseView("qtListAction");
        ChooseView("qtHierarchyAction");
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 1);
        EXPECT_TRUE(DrawnTree().startsWith(QStringLiteral("Rig [collapsed]\n")));

        ChooseView("qtExpandAction");
        EXPECT_TRUE(IsChecked("qtExpandAction"));
        EXPECT_FALSE(IsChecked("qtCollapseAction"));
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 0);
        ChooseView("qtListAction");
        ChooseView("qtHierarchyAction");
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 0);
    });
}

TEST_F(SubNodeSearchViews, TheViewAndItsCheckMarksLastFromOneOpeningToTheNext)
{
    RunDialog([&] {
        ChooseView("qtCollapseAction");
        ChooseView("qtListAction");
        TypeInSearch(QStringLiteral("leg"));
    });
    RunDialog([&] {
        EXPECT_TRUE(IsChecked("qtListAction"));
        EXPECT_TRUE(IsChecked("qtCollapseAction"));
        EXPECT_FALSE(IsChecked("qtHierarchyAction"));
        EXPECT_FALSE(IsChecked("qtExpandAction"));
        EXPECT_TRUE(SearchText().isEmpty());
        EXPECT_EQ(Tree()->topLevelItemCount(), 11);
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Hips")});
        const CMenuState menu = ChooseView("qtHierarchyAction");
        EXPECT_FALSE(menu.expand || menu.collapse);
        EXPECT_TRUE(DrawnTree().startsWith(QStringLiteral("Rig [collapsed]\n  Hips [selected]")));
    });
}

} // namespace
