// Random keyed scenes and random sessions in the link-to-sub-node dialog. Whatever the user
// previews, searches, switches or expands, Cancel leaves the whole scene as it was, OK is one
// step that Undo takes back wholly and Redo gives again, and every preview puts the first
// selected object where the dialog says: back at its parent and place without alignment,
// at the chosen node with it. KV_DIALOG_SEEDS sets how many sessions run.

#include "SubNodeDialogTest.h"

#include "CSceneGenerator.h"
#include "TransformMath.h"
#include "support/SceneSnapshotAssert.h"

#include <QRandomGenerator>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

using KV::TransformMath::Position;
using KV::TransformMath::Rotation;
using KV::TransformMath::Scale;

::testing::AssertionResult SamePlacement(const TransformRecord& actual,
                                         const TransformRecord& expected)
{
    const float apart = (Position(actual) - Position(expected)).length();
    const float turned = std::fabs(QQuaternion::dotProduct(Rotation(actual), Rotation(expected)));
    if (apart < 1e-2f && turned > 0.9999f && (Scale(actual) - Scale(expected)).length() < 1e-3f)
        return ::testing::AssertionSuccess();
    const QVector3D a = Position(actual);
    const QVector3D e = Position(expected);
    return ::testing::AssertionFailure()
           << "at (" << a.x() << ", " << a.y() << ", " << a.z() << "), expected (" << e.x() << ", "
           << e.y() << ", " << e.z() << "); rotations agree to " << turned;
}

class DialogSessionPropertyTest : public SubNodeDialogTest
{
protected:
    /// The objects that may be selected, and the times at which `last` has a parent.
    QVector<UB::CHandle*> Linkable() const
    {
        QVector<UB::CHandle*> objects;
        for (UB::CHandle* object : scene->Objects()) {
            static const QVector<int> linkableTypes = {1,  2,  3,  4,  5,  7,  8,  14, 15, 18,
                                                       19, 21, 23, 24, 25, 41, 45, 46, 54};
            const KV::CNodeDesc& desc = scene->Desc(object);
            if (!desc.linkDisabled && linkableTypes.contains(desc.objectType))
                objects.append(object);
        }
        return objects;
    }

    QVector<UBTime> CandidateTimes(UB::CHandle* object) const
    {
        QVector<UBTime> times;
        for (UBTime key : scene->LinkKeyTimes(object)) {
            for (UBTime time : {key - 1, key, key + 1, key + 7})
                if (scene->LinkParentAt(object, time) != nullptr)
                    times.append(time);
        }
        return times;
    }

    /// One thing a user does in the open dialog.
    void Act(QRandomGenerator& random)
    {
        switch (random.bounded(8)) {
        case 0:
        case 1:
        case 2:
            if (const QList<QTreeWidgetItem*> items = User().ReachableItems(); !items.isEmpty())
                User().ClickItem(items.at(static_cast<int>(random.bounded(items.size()))));
            break;
        case 3: {
            const char* choices[] = {"qtNoAlign", "qtAlignPos", "qtAlignPosRot"};
            ClickButton(choices[random.bounded(3)]);
            break;
        }
        case 4: {
            const QStringList texts = {"a", "hand", "GRIP", "o", "zz", "Body", "_"};
            TypeInSearch(texts.at(static_cast<int>(random.bounded(texts.size()))));
            break;
        }
        case 5:
            EraseSearch();
            break;
        default: {
            const char* views[] = {"qtListAction", "qtHierarchyAction", "qtExpandAction",
                                   "qtCollapseAction"};
            ChooseView(views[random.bounded(4)]);
            break;
        }
        }
    }

    /// With one item selected, the first object shows the preview of that node and the
    /// chosen alignment.
    void ExpectPreview(UB::CHandle* first, UB::CHandle* previousParent,
                       const TransformRecord& placed, UBTime time, const KV::CSceneSnapshot& before)
    {
        const auto edits = scene->Journal();
        const auto lastLink = std::find_if(edits.rbegin(), edits.rend(), [](const auto& entry) {
            return entry.call == QLatin1String("LinkObjects");
        });
        // Until something is previewed the scene is as it was.
        if (lastLink == edits.rend()) {
            EXPECT_TRUE(KV::Test::SameScene(before, scene->Snapshot()));
            return;
        }
        // A link the scene refused (it would close a circle) leaves the restored place.
        if (Tree()->selectedItems().size() != 1 || lastLink->result < 0)
            return;
        UB::CHandle* chosen = Dialog()->m_chosenNode;
        const int align = Dialog()->alignMode;
        const TransformRecord world = scene->WorldTransformAt(first, time);
        if (align == 0) {
            EXPECT_EQ(scene->LinkParentAt(first, time), previousParent);
            EXPECT_TRUE(SamePlacement(world, placed));
            return;
        }
        EXPECT_EQ(scene->LinkParentAt(first, time), chosen) << "align " << align;
        TransformRecord expected = placed;
        const TransformRecord target = scene->WorldTransformAt(chosen, time);
        std::copy(std::begin(target.position), std::end(target.position), expected.position);
        if (align == 2)
            std::copy(std::begin(target.rotation), std::end(target.rotation), expected.rotation);
        EXPECT_TRUE(SamePlacement(world, expected)) << "align " << align;
    }

    void RunSession(quint32 seed)
    {
        QRandomGenerator random(seed);
        scene->Clear();
        KV::CSceneGenerator(random).Fill(*scene, 8);
        const QVector<UB::CHandle*> linkable = Linkable();
        QVector<UB::CHandle*> linked;
        for (UB::CHandle* object : linkable) {
            if (!CandidateTimes(object).isEmpty())
                linked.append(object);
        }
        if (linked.isEmpty())
            return;
        // Some history to undo into, then the selection: the last object's parent counts.
        for (int i = static_cast<int>(random.bounded(3)); i > 0; --i) {
            scene->LinkObjects({linkable.at(static_cast<int>(random.bounded(linkable.size())))},
                               nullptr, 0, static_cast<UBTime>(random.bounded(40)), true, true);
        }
        UB::CHandle* last = linked.at(static_cast<int>(random.bounded(linked.size())));
        const QVector<UBTime> times = CandidateTimes(last);
        if (times.isEmpty())
            return;
        const UBTime time = times.at(static_cast<int>(random.bounded(times.size())));
        QVector<UB::CHandle*> selection;
        for (int i = static_cast<int>(random.bounded(3)); i > 0; --i) {
            UB::CHandle* other = linkable.at(static_cast<int>(random.bounded(linkable.size())));
            if (other != last && !selection.contains(other))
                selection.append(other);
        }
        selection.append(last);
        scene->SetCurrentTime(time);
        scene->SetSelection(selection);

        UB::CHandle* first = selection.first();
        UB::CHandle* previousParent = scene->LinkParentAt(last, time);
        const TransformRecord placed = scene->WorldTransformAt(first, time);
        const KV::CSceneSnapshot before = scene->Snapshot();
        const int actions = static_cast<int>(random.bounded(9));
        const quint32 ending = random.bounded(10);
        scene->ClearJournal();
        const int result = RunCommand([&] {
            ExpectPreview(first, previousParent, placed, time, before);
            for (int i = 0; i < actions && !HasFailure(); ++i) {
                Act(random);
                ExpectPreview(first, previousParent, placed, time, before);
            }
            if (ending < 5)
                ClickButton("qtOKPushButton");
            else if (ending < 9)
                ClickButton("qtCancelPushButton");
        });
        if (result != QDialog::Accepted) {
            EXPECT_TRUE(KV::Test::SameScene(before, scene->Snapshot()));
            return;
        }
        const KV::CSceneSnapshot accepted = scene->Snapshot();
        if (accepted == before)
            return; // the final link was refused
        EXPECT_EQ(accepted.undoCount, before.undoIndex + 1);
        scene->UndoStack()->undo();
        EXPECT_TRUE(KV::Test::SameScene(
            {before.file, accepted.undoCount, before.undoIndex, before.modified},
            scene->Snapshot()));
        scene->UndoStack()->redo();
        EXPECT_TRUE(KV::Test::SameScene(accepted, scene->Snapshot()));
    }
};

TEST_F(DialogSessionPropertyTest, CancelAndUndoRestoreTheSceneAndPreviewsLandWhereTheySay)
{
    const int seeds = qEnvironmentVariableIsSet("KV_DIALOG_SEEDS")
                          ? qEnvironmentVariableIntValue("KV_DIALOG_SEEDS")
                          : 200;
    for (int seed = 1; seed <= seeds && !HasFailure(); ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        RunSession(static_cast<quint32>(seed));
    }
}

} // namespace
