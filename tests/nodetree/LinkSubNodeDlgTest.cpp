// The link-to-sub-node dialog itself: its layout binding and starting state, the preview of
// every node and alignment choice, the search field, the views and folding, and how the keys
// end it.

#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QGridLayout>
#include <QMenu>
#include <QSpacerItem>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUiLoader>

#include <memory>

namespace {

// Cup hangs at Hips; the hands lie apart so that aligning to them moves it. Some names are
// what a pattern-reading search gets wrong.
const char kRig[] = R"(
Rig
  Hips
    Spine
      Chest
        xABCy
          Finger.1
          Finger_1
      Arm(L)
      Hand_L
      Hand_R
    Leg
      abc_foot
  Tail
)";

class LinkSubNodeDlg : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddSketch(*scene, QLatin1String(kRig));
        scene->SetTransformKey(Node("Hand_L"), 0, Place(-5, 0, 0));
        scene->SetTransformKey(Node("Hand_R"), 0, Place(5, 0, 0));
        cup = AddSelectedObject(QStringLiteral("Cup"), Node("Hips"), Place(1, 2, 3));
        scene->ClearJournal();
    }

    // The preview's calls as the journal shows them.
    static QString Restore() { return QStringLiteral("SetTransform(Cup, 0, T(1,2,3)) -> 0"); }
    static QString Link(const char* target, int align)
    {
        return QStringLiteral("LinkObjects([Cup], %1, %2, 0, false, false) -> 0")
            .arg(QLatin1String(target))
            .arg(align);
    }
    // The one preview of a pick without alignment.
    static QStringList PreviewWithoutAlignment() { return {Restore(), Link("Hips", 0)}; }

    UB::CHandle* cup = nullptr;
};

TEST_F(LinkSubNodeDlg, ComponentBindsTheSpacerByItsPlaceAndWithoutAHostNothingIsBuilt)
{
    QFile file(QStringLiteral(":/plugin/KVLinkageSection/LinktoSub_Node.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> root(QUiLoader().load(&file));
    ASSERT_NE(root, nullptr);
    KV::CWidgetBuilder builder;
    builder.SetRoots(root.get(), nullptr);
    builder.SetReady(true);
    CLinktoSub_NodeUiComponent ui;
    ui.BindWidgets(&builder);
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());
    ASSERT_NE(ui.gridLayout, nullptr);
    EXPECT_EQ(ui.horizontalSpacer, ui.gridLayout->itemAt(4)->spacerItem()); // it has no name
    EXPECT_NE(ui.horizontalSpacer, nullptr);

    KV::CLinkSubNodeDlg dialog(section);
    EXPECT_EQ(dialog.Initialize(QString(), nullptr), UB::kNotCreated);
    dialog.ClearSearch();
    dialog.BuildTree(Node("Rig"), false);
    dialog.show();
    dialog.hide();
    EXPECT_TRUE(Edits().isEmpty());
}

TEST_F(LinkSubNodeDlg, OpensModallyOnTheCurrentParentWithTheViewMenuOnItsButton)
{
    RunDialog([&] {
        EXPECT_TRUE(Dialog()->isModal());
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Hips")});
        EXPECT_EQ(Tree()->currentItem()->text(0), QStringLiteral("Hips"));
        auto* viewButton = DialogObject<QToolButton>("qtObjectTreeToolButton");
        EXPECT_EQ(viewButton->popupMode(), QToolButton::InstantPopup);
        EXPECT_EQ(viewButton->arrowType(), Qt::NoArrow);
        ASSERT_NE(viewButton->menu(), nullptr);
        QStringList entries;
        for (QAction* action : viewButton->menu()->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        EXPECT_EQ(entries, (QStringList{"qtHierarchyAction", "qtListAction", "-", "qtExpandAction",
                                        "qtCollapseAction"}));
        EXPECT_TRUE(Edits().isEmpty()) << "nothing is previewed before the user chooses";
    });
}

TEST_F(LinkSubNodeDlg, EveryPickAndAlignmentIsPreviewedFromTheSavedPlaceInOrder)
{
    RunDialog([&] {
        // Without alignment a pick is previewed at the previous parent only.
        ClickItem(QStringLiteral("Hand_R"));
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Hand_R"));
        EXPECT_EQ(Edits(), PreviewWithoutAlignment());

        scene->ClearJournal();
        ClickButton("qtAlignPos"); // the unchecked "no alignment" runs first
        EXPECT_EQ(Dialog()->alignMode, 1);
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 0), Restore(), Link("Hips", 1),
                                        Restore(), Link("Hand_R", 1)}));

        scene->ClearJournal();
        ClickItem(QStringLiteral("Hand_L"));
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 1), Restore(), Link("Hand_L", 1)}));
        EXPECT_EQ(scene->LinkParentAt(cup, 0), Node("Hand_L"));
        EXPECT_FLOAT_EQ(scene->WorldTransformAt(cup, 0).position[0], -5);

        scene->ClearJournal();
        ClickButton("qtAlignPosRot");
        EXPECT_EQ(Dialog()->alignMode, 2);
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 1), Restore(), Link("Hand_L", 1),
                                        Restore(), Link("Hips", 2), Restore(), Link("Hand_L", 2)}));

        scene->ClearJournal();
        ClickButton("qtNoAlign");
        EXPECT_EQ(Dialog()->alignMode, 0);
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 2), Restore(), Link("Hand_L", 2),
                                        Restore(), Link("Hips", 0)}));
        EXPECT_EQ(scene->LinkParentAt(cup, 0), Node("Hips"));

        // With no item selected, or several, a choice previews nothing and keeps the pick; OK
        // takes the first item in the order they were selected, not in the tree's.
        Tree()->clearSelection();
        scene->ClearJournal();
        ClickButton("qtAlignPosRot");
        Tree()->findItems("Tail", Qt::MatchExactly | Qt::MatchRecursive)[0]->setSelected(true);
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Tail"));
        Tree()->findItems("Hand_L", Qt::MatchExactly | Qt::MatchRecursive)[0]->setSelected(true);
        ClickButton("qtAlignPos");
        EXPECT_EQ(Dialog()->alignMode, 1);
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 2), Restore(), Link("Tail", 2)}));
        ClickButton("qtOKPushButton");
    });
    EXPECT_EQ(scene->JournalLines({QStringLiteral("LinkObjects")}).last(),
              QStringLiteral("LinkObjects([Cup], Tail, 1, 0, true, true) -> 0"));
}

TEST_F(LinkSubNodeDlg, KeypadEnterAcceptsUnlessTypingJustEndedAndReturnAndEscNever)
{
    // Keypad Enter right after typing only ends the typing; the next one is OK.
    EXPECT_EQ(RunDialog([&] {
                  TypeInSearch(QStringLiteral("hand"));
                  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
                  EXPECT_TRUE(Dialog()->isVisible());
                  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
                  EXPECT_FALSE(Dialog()->isVisible());
              }),
              QDialog::Accepted);
    EXPECT_EQ(scene->JournalLines({QStringLiteral("LinkObjects")}).last(),
              QStringLiteral("LinkObjects([Cup], Hand_L, 0, 0, true, true) -> 0"));

    // Return and Esc neither accept nor close, and leave a pending Enter pending.
    EXPECT_EQ(RunDialog([&] {
                  TypeInSearch(QStringLiteral("spi"));
                  PressKey(Qt::Key_Return);
                  PressKey(Qt::Key_Escape);
                  QTest::keyClick(Tree(), Qt::Key_Return);
                  EXPECT_TRUE(Dialog()->isVisible());
                  PressKey(Qt::Key_Enter, Qt::KeypadModifier);
                  EXPECT_TRUE(Dialog()->isVisible());
                  ClickButton("qtCancelPushButton");
              }),
              QDialog::Rejected);
    EXPECT_EQ(Dialog()->m_chosenNode, nullptr);
}

TEST_F(LinkSubNodeDlg, EachKeystrokePreviewsItsFirstHitAndNoHitOkLinksToNoNode)
{
    EXPECT_EQ(RunDialog([&] {
                  ChooseView("qtCollapseAction");
                  scene->ClearJournal();
                  TypeInSearch(QStringLiteral("abc"));
                  // Ancestors of a hit are shown and expanded; the hit's children stay hidden.
                  EXPECT_EQ(DrawnTree(),
                            QStringLiteral("Rig\n  Hips\n    Spine\n      Chest\n        xABCy "
                                           "[collapsed] [selected]\n          Finger.1 [hidden]\n"
                                           "          Finger_1 [hidden]\n      Arm(L) [hidden]\n"
                                           "      Hand_L [hidden]\n      Hand_R [hidden]\n    Leg\n"
                                           "      abc_foot\n  Tail [hidden]"));
                  EXPECT_EQ(Dialog()->m_chosenNode, Node("xABCy"));
                  EXPECT_EQ(Edits(), PreviewWithoutAlignment() + PreviewWithoutAlignment() +
                                         PreviewWithoutAlignment());

                  // Emptying the field shows everything and previews the root.
                  scene->ClearJournal();
                  EraseSearch();
                  EXPECT_EQ(DrawnTree().count(QStringLiteral("[hidden]")), 0);
                  EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Rig")});
                  EXPECT_EQ(Edits(), PreviewWithoutAlignment());

                  // No hit hides everything and previews nothing; the pick stays until OK.
                  scene->ClearJournal();
                  TypeInSearch(QStringLiteral("zz"));
                  EXPECT_EQ(DrawnTree().count(QStringLiteral("[hidden]")), 13);
                  EXPECT_TRUE(SelectedTexts().isEmpty());
                  EXPECT_EQ(Dialog()->m_chosenNode, Node("Rig"));
                  EXPECT_TRUE(Edits().isEmpty());
                  ClickButton("qtOKPushButton");
              }),
              QDialog::Accepted);
    EXPECT_EQ(Dialog()->m_chosenNode, nullptr);
    EXPECT_EQ(scene->JournalLines({QStringLiteral("LinkObjects")}),
              QStringList{QStringLiteral("LinkObjects([Cup], null, 0, 0, true, true) -> 0")});
}

TEST_F(LinkSubNodeDlg, ViewsAndFoldingKeepThePickAndLastFromOneOpeningToTheNext)
{
    RunDialog([&] {
        ClickButton("qtAlignPos");
        TypeInSearch(QStringLiteral("f"));
        ClickItem(QStringLiteral("Finger_1"));
        scene->ClearJournal();

        // The list view shows every node despite the search; the pick is made and previewed
        // again.
        ChooseView("qtListAction");
        EXPECT_EQ(DrawnTree(),
                  QStringLiteral("Rig\nHips\nSpine\nChest\nxABCy\nFinger.1\n"
                                 "Finger_1 [selected]\nArm(L)\nHand_L\nHand_R\nLeg\nabc_foot\n"
                                 "Tail"));
        EXPECT_EQ(Edits(),
                  (QStringList{Restore(), Link("Hips", 1), Restore(), Link("Finger_1", 1)}));

        // Collapse folds every parent; a rebuild (the checked view chosen again) then shows
        // the root folded and the rest open.
        ChooseView("qtHierarchyAction");
        ChooseView("qtCollapseAction");
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 6);
        ChooseView("qtHierarchyAction");
        EXPECT_TRUE(IsChecked("qtHierarchyAction"));
        EXPECT_TRUE(DrawnTree().startsWith(QStringLiteral("Rig [collapsed]\n  Hips\n")));
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 1);
        ChooseView("qtListAction");
    });
    // The view and the fold choice last into the next opening; Expand undoes the fold.
    RunDialog([&] {
        EXPECT_EQ(Tree()->topLevelItemCount(), 13);
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("Hips")});
        ChooseView("qtHierarchyAction");
        EXPECT_TRUE(DrawnTree().startsWith(QStringLiteral("Rig [collapsed]\n  Hips [selected]")));
        ChooseView("qtExpandAction");
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 0);
        ChooseView("qtHierarchyAction");
        EXPECT_EQ(DrawnTree().count(QStringLiteral("[collapsed]")), 0);
    });
}

TEST_F(LinkSubNodeDlg, ARebuildSelectsOnlyTheLastOfSeveralRememberedNodes)
{
    RunDialog([&] {
        ClickItem(QStringLiteral("Leg"));
        Tree()->findItems("Spine", Qt::MatchExactly | Qt::MatchRecursive)[0]->setSelected(true);
        ASSERT_EQ(SelectedTexts(), (QStringList{"Spine", "Leg"}));
        const QString last = Tree()->selectedItems().last()->text(0);
        ChooseView("qtListAction");
        EXPECT_EQ(SelectedTexts(), QStringList{last});
        EXPECT_EQ(Dialog()->m_chosenNode, Node(qPrintable(last)));
    });
}

} // namespace
