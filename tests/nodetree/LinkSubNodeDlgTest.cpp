// The link-to-sub-node dialog itself: its layout binding and starting state, the preview of
// every node and alignment choice, the reset on show, and how OK, Cancel and the Enter keys
// end it.

#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpacerItem>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUiLoader>

#include <memory>

namespace {

// Cup hangs at Hips; the hands lie apart so that aligning to them moves it.
const char kKnight[] = R"(
Knight
  Hips
    Spine
      Hand_L
      Hand_R
  Tail
)";

class LinkSubNodeDlg : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddStructure(QLatin1String(kKnight));
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

    UB::CHandle* cup = nullptr;
};

TEST_F(LinkSubNodeDlg, ComponentBindsTwentyFiveNamedObjectsInOrderThenTheGridSpacer)
{
    KV::CWidgetBuilder notReady; // every lookup fails and is recorded, in binding order
    CLinktoSub_NodeUiComponent unbound;
    unbound.BindWidgets(&notReady);
    EXPECT_EQ(notReady.GetMissingNames(), (QVector<QString>{"horizontalLayout",
                                                            "gridLayout",
                                                            "horizontalLayout_2",
                                                            "horizontalLayout_3",
                                                            "horizontalLayout_4",
                                                            "verticalLayout_2",
                                                            "verticalLayout",
                                                            "groupBox_51",
                                                            "label",
                                                            "label2",
                                                            "qtObjectTreeSearchLineEdit",
                                                            "qtCancelPushButton",
                                                            "qtOKPushButton",
                                                            "qtAlignPos",
                                                            "qtAlignPosRot",
                                                            "qtNoAlign",
                                                            "qtObjectTreeToolButton",
                                                            "qtObjectTreeWidget",
                                                            "LinktoSub_Node",
                                                            "TreeBorderWidget",
                                                            "widget",
                                                            "qtHierarchyAction",
                                                            "qtListAction",
                                                            "qtExpandAction",
                                                            "qtCollapseAction"}));
    EXPECT_EQ(unbound.horizontalSpacer, nullptr);
    EXPECT_EQ(unbound.GetRootWidget(), nullptr);

    // The real layout binds everything; one lacking a name binds the rest and reports it.
    QFile file(QStringLiteral(":/plugin/KVLinkageSection/LinktoSub_Node.ui"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QUiLoader loader;
    std::unique_ptr<QWidget> root(loader.load(&file));
    ASSERT_NE(root, nullptr);
    root->findChild<QLabel*>(QStringLiteral("label2"))->setObjectName(QStringLiteral("renamed"));
    KV::CWidgetBuilder builder;
    builder.SetRoots(root.get(), nullptr);
    builder.SetReady(true);
    CLinktoSub_NodeUiComponent ui;
    ui.BindWidgets(&builder);
    EXPECT_EQ(builder.GetMissingNames(), QVector<QString>{"label2"});
    EXPECT_EQ(ui.GetRootWidget(), root.get());
    EXPECT_EQ(ui.label2, nullptr);
    ASSERT_NE(ui.gridLayout, nullptr);
    EXPECT_EQ(ui.horizontalSpacer, ui.gridLayout->itemAt(4)->spacerItem());
    EXPECT_NE(ui.horizontalSpacer, nullptr);
    EXPECT_EQ(ui.qtObjectTreeWidget, root->findChild<QTreeWidget*>());
    EXPECT_EQ(ui.qtCollapseAction->objectName(), QStringLiteral("qtCollapseAction"));
}

TEST_F(LinkSubNodeDlg, WithoutAHostNothingIsBuiltAndShowingItIsHarmless)
{
    KV::CLinkSubNodeDlg dialog(section);
    EXPECT_EQ(dialog.Initialize(QString(), nullptr), UB::kNotCreated);
    EXPECT_EQ(dialog.GetTreeWidget(), nullptr);
    EXPECT_EQ(dialog.GetOkButton(), nullptr);
    dialog.ClearSearch();
    dialog.BuildTree(Node("Knight"), false);
    dialog.show();
    dialog.hide();
    EXPECT_TRUE(Edits().isEmpty());
}

TEST_F(LinkSubNodeDlg, OpensInHierarchyViewWithoutAlignmentOnTheCurrentParent)
{
    RunDialog([&] {
        KV::CLinkSubNodeDlg* dialog = Dialog();
        EXPECT_STREQ(dialog->metaObject()->className(), "KV::CLinkSubNodeDlg");
        EXPECT_EQ(dialog->metaObject()->superClass(), &KV::CNodeStructureDlg::staticMetaObject);
        EXPECT_EQ(dialog->parent(), section);
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(DrawnTree(), QStringLiteral("Knight\n"
                                              "  Hips [selected]\n"
                                              "    Spine\n"
                                              "      Hand_L\n"
                                              "      Hand_R\n"
                                              "  Tail"));
        EXPECT_EQ(Tree()->currentItem()->text(0), QStringLiteral("Hips"));
        EXPECT_TRUE(DialogObject<QRadioButton>("qtNoAlign")->isChecked());
        EXPECT_EQ(dialog->alignMode, 0);
        EXPECT_TRUE(DialogObject<QLineEdit>("qtObjectTreeSearchLineEdit")->text().isEmpty());
        EXPECT_TRUE(IsChecked("qtHierarchyAction"));
        EXPECT_TRUE(IsChecked("qtExpandAction"));
        EXPECT_FALSE(IsChecked("qtListAction"));
        EXPECT_FALSE(IsChecked("qtCollapseAction"));

        auto* viewButton = DialogObject<QToolButton>("qtObjectTreeToolButton");
        EXPECT_EQ(viewButton->popupMode(), QToolButton::InstantPopup);
        EXPECT_EQ(viewButton->arrowType(), Qt::NoArrow);
        ASSERT_NE(viewButton->menu(), nullptr);
        EXPECT_EQ(viewButton->menu()->parent(), viewButton);
        QStringList entries;
        for (QAction* action : viewButton->menu()->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        EXPECT_EQ(entries, (QStringList{"qtHierarchyAction", "qtListAction", "-", "qtExpandAction",
                                        "qtCollapseAction"}));
        // Nothing is previewed before the user chooses.
        EXPECT_TRUE(Edits().isEmpty());
    });
}

TEST_F(LinkSubNodeDlg, WithoutAlignmentAPickedNodeIsPreviewedAtThePreviousParentOnly)
{
    scene->SetCurrentTime(0);
    RunDialog([&] {
        ClickItem(QStringLiteral("Hand_R"));
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Hand_R"));
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 0)}));
        EXPECT_EQ(scene->LinkParentAt(cup, 0), Node("Hips"));
    });
}

TEST_F(LinkSubNodeDlg, AlignedChoicesPreviewAtThePickedNodeAndMovingBetweenThemPreviewsTwice)
{
    RunDialog([&] {
        ClickButton("qtAlignPos"); // the unchecked "no alignment" runs first
        EXPECT_EQ(Dialog()->alignMode, 1);
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 0), Restore(), Link("Hips", 1),
                                        Restore(), Link("Hips", 1)}));

        scene->ClearJournal();
        ClickItem(QStringLiteral("Hand_L"));
        EXPECT_EQ(Edits(), (QStringList{Restore(), Link("Hips", 1), Restore(), Link("Hand_L", 1)}));
        EXPECT_EQ(scene->LinkParentAt(cup, 0), Node("Hand_L"));
        EXPECT_FLOAT_EQ(scene->WorldTransformAt(cup, 0).position[0],
                        scene->WorldTransformAt(Node("Hand_L"), 0).position[0]);

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
    });
}

TEST_F(LinkSubNodeDlg, NoOrSeveralSelectedItemsLeaveTheChosenNodeAndTheSceneAlone)
{
    RunDialog([&] {
        ClickItem(QStringLiteral("Spine"));
        scene->ClearJournal();

        Tree()
            ->findItems(QStringLiteral("Tail"), Qt::MatchExactly | Qt::MatchRecursive)[0]
            ->setSelected(true);
        ASSERT_EQ(Tree()->selectedItems().size(), 2);
        ClickButton("qtAlignPos");
        EXPECT_EQ(Dialog()->alignMode, 1);
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Spine"));

        Tree()->clearSelection();
        ClickButton("qtAlignPosRot");
        EXPECT_EQ(Dialog()->m_chosenNode, Node("Spine"));
        EXPECT_TRUE(Edits().isEmpty());
    });
}

TEST_F(LinkSubNodeDlg, EveryShowStartsWithoutAlignmentAndPreviewsTheReset)
{
    ASSERT_EQ(RunDialog([&] {
                  ClickItem(QStringLiteral("Hand_R"));
                  ClickButton("qtAlignPosRot");
                  ClickButton("qtOKPushButton");
              }),
              QDialog::Accepted);
    EXPECT_EQ(Dialog()->alignMode, 2) << "OK keeps the choice until the next show";

    // Now at Hand_R: the second opening restores there.
    const TransformRecord atHand = scene->WorldTransformAt(cup, 0);
    scene->ClearJournal();
    RunDialog([&] {
        EXPECT_TRUE(DialogObject<QRadioButton>("qtNoAlign")->isChecked());
        EXPECT_EQ(Dialog()->alignMode, 0);
        const QString restore = QStringLiteral("SetTransform(Cup, 0, T(%1,%2,%3)) -> 0")
                                    .arg(atHand.position[0])
                                    .arg(atHand.position[1])
                                    .arg(atHand.position[2]);
        const QString link = QStringLiteral("LinkObjects([Cup], Hand_R, %1, 0, false, false) -> 0");
        // The handler of the choice losing its check runs first, then "no alignment".
        EXPECT_EQ(Edits(),
                  (QStringList{restore, link.arg(2), restore, link.arg(2), restore, link.arg(0)}));
    });
    EXPECT_EQ(Dialog()->alignMode, 0) << "Cancel leaves no alignment";
}

TEST_F(LinkSubNodeDlg, KeypadEnterAcceptsUnlessTypingJustEndedAndReturnNeverDoes)
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

    // Return and Esc neither accept nor close, and Return leaves a pending Enter pending.
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

} // namespace
