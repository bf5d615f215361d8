// The Linkage section's link-to-sub-node command: which structure the dialog lists, what is
// written before it opens, and what the host receives after OK and after Cancel.

#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QUndoStack>

namespace {

const char kScene[] = R"(
Knight
  Hips
    Spine
      Hand_R
  Tail
Horse
  Saddle
Shoulder
  Socket
)";

class LinkToSubNodeCommand : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddSketch(*scene, QLatin1String(kScene));
        scene->SetTransformKey(Node("Hand_R"), 0, Place(5, 0, 0));
        cup = AddSelectedObject(QStringLiteral("Cup"), Node("Hips"), Place(1, 2, 3));
        scene->SetCurrentTime(5);
        scene->ClearJournal();
    }

    UB::CHandle* cup = nullptr;
};

TEST_F(LinkToSubNodeCommand, ListsTheParentsOwnerOrForAPartOwnerItsRoot)
{
    // Socket belongs to Shoulder, which is a part (node kind 1) of Knight.
    scene->Desc(Node("Shoulder")).nodeKind = 1;
    scene->SetOwnerRoot(Node("Shoulder"), Node("Knight"));
    scene->SetLinkKey(cup, 5, Node("Socket"));
    scene->SendHierarchyChanged();
    scene->ClearJournal();
    RunDialog([&] {
        EXPECT_EQ(Tree()->topLevelItem(0)->text(0), QStringLiteral("Knight"));
        EXPECT_TRUE(SelectedTexts().isEmpty()) << "the parent is not in the root's structure";
        EXPECT_EQ(Dialog()->previousParent, Node("Socket"));
    });
    EXPECT_TRUE(scene->JournalLines({QStringLiteral("GetOwnerRoot")})
                    .contains(QStringLiteral("GetOwnerRoot(Shoulder) -> 0")));

    // A whole object as the owner is listed itself.
    scene->SetLinkKey(cup, 5, Node("Saddle"));
    scene->SendHierarchyChanged();
    scene->ClearJournal();
    RunDialog([&] { EXPECT_EQ(DrawnTree(), QStringLiteral("Horse\n  Saddle [selected]")); });
    EXPECT_TRUE(scene->JournalLines({QStringLiteral("GetOwnerRoot")}).isEmpty());
}

TEST_F(LinkToSubNodeCommand, CancelLinksBackThenRestoresAndOkLinksOnceAsOneStep)
{
    const auto pickHandAlignedThen = [&](const char* button) {
        return RunDialog([&] {
            ClickItem(QStringLiteral("Hand_R"));
            ClickButton("qtAlignPosRot");
            EXPECT_EQ(scene->LinkParentAt(cup, 5), Node("Hand_R"));
            scene->ClearJournal();
            ClickButton(button);
        });
    };
    EXPECT_EQ(pickHandAlignedThen("qtCancelPushButton"), QDialog::Rejected);
    EXPECT_EQ(Dialog()->alignMode, 0);
    EXPECT_EQ(Edits(),
              (QStringList{QStringLiteral("LinkObjects([Cup], Hips, 0, 5, false, false) -> 0"),
                           QStringLiteral("SetTransform(Cup, 5, T(1,2,3)) -> 0")}));
    EXPECT_EQ(scene->LinkParentAt(cup, 5), Node("Hips"));

    const int steps = scene->UndoStack()->count();
    EXPECT_EQ(pickHandAlignedThen("qtOKPushButton"), QDialog::Accepted);
    EXPECT_EQ(Edits(),
              QStringList{QStringLiteral("LinkObjects([Cup], Hand_R, 2, 5, true, true) -> 0")});
    EXPECT_EQ(scene->UndoStack()->count(), steps + 1);
    EXPECT_EQ(section->findChild<QLineEdit*>(QStringLiteral("qtLinkNodeText"))->text(),
              QStringLiteral("Hand_R"))
        << "the host's events refresh the section";
}

TEST_F(LinkToSubNodeCommand, ATransformTheHostCannotGiveIsKeptAsThePresetRecord)
{
    RunDialog([] {}); // the first opening sets the dialog up, which asks for a transform too
    scene->InjectFault(QStringLiteral("GetTransform"), -1, 1);
    EXPECT_EQ(RunDialog([&] {
                  EXPECT_TRUE(SameTransform(Dialog()->savedTransform, TransformRecord()));
                  ClickButton("qtCancelPushButton");
              }),
              QDialog::Rejected);
    EXPECT_EQ(Edits().last(), QStringLiteral("SetTransform(Cup, 5, T(0,0,0)) -> 0"));
}

TEST_F(LinkToSubNodeCommand, TheSectionGoingWhileTheDialogIsOpenEndsTheCommandQuietly)
{
    const QPointer<KV::CLinkageSection> watched(section);
    QTimer::singleShot(0, &window, [&] { section->deleteLater(); });
    section->OnLinkToSubNode();
    EXPECT_TRUE(watched.isNull());
    EXPECT_TRUE(Edits().isEmpty());
    EXPECT_EQ(scene->LinkParentAt(cup, 5), Node("Hips"));
}

} // namespace
