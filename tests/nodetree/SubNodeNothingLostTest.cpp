// Nothing is lost through the dialog: after long seeded random sequences of picks,
// alignments, searches and view changes, Cancel leaves the object's link parent and
// transform at the current time as they were, and one undo after OK returns the scene to
// where it was before the dialog opened.

#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <random>
#include <vector>

namespace {

const char kRig[] = R"(
Knight
  Body [type=2]
    Holster [type=6]
      Grip_L
        Dagger [type=6]
  Rig
    Skeleton
      Hips
        Spine
          Chest
            Neck
              Head
            Arm_L
              Hand_L
            Arm_R
              Hand_R
        Leg_L
          Foot_L
        Leg_R
          Foot_R
        Shield [excluded]
          Strap
        Gizmos
          Handle
)";

const char* const kFragments[] = {"a", "nd", "H", "_L", "ip", "zz", ".", "(", "*", "EG", "o"};
const char* const kChoices[] = {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"};
const char* const kViews[] = {"qtHierarchyAction", "qtListAction", "qtExpandAction",
                              "qtCollapseAction"};

class SubNodeNothingLost : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddStructure(QLatin1String(kRig));
        // Turned and moved nodes, so that every alignment really moves the object.
        TransformRecord turned = Place(0, 3, 1);
        turned.rotation[2] = 0.70710678f;
        turned.rotation[3] = 0.70710678f;
        scene->SetTransformKey(Node("Chest"), 0, turned);
        scene->SetTransformKey(Node("Hand_L"), 0, Place(-4, 0, 0.5f));
        scene->SetTransformKey(Node("Hand_R"), 0, Place(4, 0, -0.5f));
        scene->SetTransformKey(Node("Grip_L"), 0, Place(0, 1, 2));
        TransformRecord held = Place(1, 2, 3);
        held.rotation[0] = 0.6f;
        held.rotation[3] = 0.8f;
        cup = AddSelectedObject(QStringLiteral("Cup"), Node("Hips"), held);
        scene->SetCurrentTime(3);
    }

    /// One thing a user may do with the open dialog, short of closing it.
    void RandomStep(std::mt19937& random)
    {
        auto pick = [&random](int count) {
            return std::uniform_int_distribution<int>(0, count - 1)(random);
        };
        switch (pick(7)) {
        case 0: {
            std::vector<QTreeWidgetItem*> visible;
            for (QTreeWidgetItemIterator it(Tree(), QTreeWidgetItemIterator::NotHidden);
                 *it != nullptr; ++it) {
                if (!Tree()->visualItemRect(*it).isEmpty() || (*it)->parent() == nullptr)
                    visible.push_back(*it);
            }
            if (!visible.empty()) {
                QTreeWidgetItem* item =
                    visible[static_cast<std::size_t>(pick(static_cast<int>(visible.size())))];
                Tree()->scrollToItem(item);
                QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  Tree()->visualItemRect(item).center());
            }
            break;
        }
        case 1:
            ClickButton(kChoices[pick(3)]);
            break;
        case 2:
            TypeInSearch(QLatin1String(kFragments[pick(11)]));
            break;
        case 3:
            EraseSearch();
            break;
        case 4:
            PressKey(Qt::Key_Backspace);
            break;
        case 5:
            ChooseView(kViews[pick(4)]);
            break;
        default:
            PressKey(Qt::Key_Return);
            break;
        }
    }

    UB::CHandle* cup = nullptr;
};

TEST_F(SubNodeNothingLost, CancelAfterAnySequenceLeavesParentAndTransformAsTheyWere)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        // Each opening starts where the last cancelled one left the object.
        for (int opening = 0; opening < 3; ++opening) {
            const UBTime now = scene->CurrentTime();
            UB::CHandle* parent = scene->LinkParentAt(cup, now);
            const TransformRecord transform = scene->LocalTransformAt(cup, now);
            const int undoSteps = scene->UndoStack()->count();
            EXPECT_EQ(RunDialog([&] {
                          for (int step = 0; step < 40; ++step)
                              RandomStep(random);
                          ClickButton("qtCancelPushButton");
                      }),
                      QDialog::Rejected)
                << "seed " << seed;
            EXPECT_EQ(scene->LinkParentAt(cup, now), parent) << "seed " << seed;
            EXPECT_TRUE(SameTransform(scene->LocalTransformAt(cup, now), transform))
                << "seed " << seed;
            EXPECT_EQ(scene->UndoStack()->count(), undoSteps) << "seed " << seed;
            scene->SetCurrentTime(now + 1);
        }
    }
}

TEST_F(SubNodeNothingLost, OneUndoAfterOkReturnsTheSceneToBeforeTheDialog)
{
    for (unsigned seed = 101; seed <= 112; ++seed) {
        std::mt19937 random(seed);
        const QByteArray before = scene->ToJson();
        const UBTime now = scene->CurrentTime();
        UB::CHandle* chosen = nullptr;
        ASSERT_EQ(RunDialog([&] {
                      for (int step = 0; step < 40; ++step)
                          RandomStep(random);
                      ClickButton("qtOKPushButton");
                      chosen = Dialog()->m_chosenNode;
                  }),
                  QDialog::Accepted)
            << "seed " << seed;
        // With no node chosen the final link names none; where that leaves it is the host's.
        if (chosen != nullptr) {
            EXPECT_EQ(scene->LinkParentAt(cup, now), chosen) << "seed " << seed;
        }
        const QByteArray linked = scene->ToJson();

        scene->UndoStack()->undo();
        EXPECT_EQ(scene->ToJson(), before) << "seed " << seed;
        scene->UndoStack()->redo();
        EXPECT_EQ(scene->ToJson(), linked) << "seed " << seed;
        scene->UndoStack()->undo();
        scene->SetCurrentTime(now + 2);
    }
}

} // namespace
