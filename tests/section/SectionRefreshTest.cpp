// The section follows the host's selection on its own: which widgets it shows, enables and
// fills. Scenes are drawn above each test; "->" is a link to a parent.

#include "LinkageSectionTest.h"
#include "support/QtPrinters.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

class SectionRefresh : public LinkageSectionTest
{
protected:
    void SetUp() override
    {
        LinkageSectionTest::SetUp();
        ASSERT_EQ(Initialize(), UB::kOk);
        window.show();
    }

    QLineEdit* ParentText() { return Widget<QLineEdit>("qtLinkNodeText"); }
    QPushButton* PickParent() { return Widget<QPushButton>("qtPickParent"); }
    QPushButton* Unlink() { return Widget<QPushButton>("qtUnlink"); }
    QPushButton* LinkCamera() { return Widget<QPushButton>("qtLinkCameraPushButton"); }
    QToolButton* LinkSubNode() { return Widget<QToolButton>("qtLinkSubNode"); }
};

TEST_F(SectionRefresh, HidesForAnEmptyOrUnlinkableSelectionAndShowsAgain)
{
    UB::CHandle* box = AddObject(QStringLiteral("Box"), 1);
    UB::CHandle* light = AddObject(QStringLiteral("Light"), 6);

    scene->SetSelection({});
    EXPECT_FALSE(section->isVisible());
    EXPECT_EQ(section->UpdateSectionUi(), UB::kNothingDone);
    scene->SetSelection({box});
    EXPECT_TRUE(section->isVisible());
    scene->SetSelection({light});
    EXPECT_FALSE(section->isVisible());
    scene->SetSelection({box, light});
    EXPECT_FALSE(section->isVisible());
    scene->SetSelection({box});
    EXPECT_TRUE(section->isVisible());
}

// Table <- Cup (type 1), Table <- Lantern (type 41)
TEST_F(SectionRefresh, OneLinkedObjectShowsItsParentAndOffersEveryCommand)
{
    UB::CHandle* table = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    UB::CHandle* lantern = AddObject(QStringLiteral("Lantern"), 41);
    scene->SetLinkKey(cup, 0, table);
    scene->SetLinkKey(lantern, 0, table);

    scene->SetSelection({cup});
    EXPECT_EQ(ParentText()->text(), QStringLiteral("Table"));
    EXPECT_TRUE(ParentText()->isEnabled());
    EXPECT_TRUE(PickParent()->isEnabled());
    EXPECT_TRUE(Unlink()->isEnabled());
    EXPECT_TRUE(LinkSubNode()->isEnabled());
    EXPECT_FALSE(LinkCamera()->isVisible());

    scene->SetSelection({lantern});
    EXPECT_TRUE(LinkCamera()->isVisible());
    EXPECT_TRUE(LinkCamera()->isEnabled());
}

TEST_F(SectionRefresh, OneUnlinkedObjectOffersPickingOnly)
{
    scene->SetSelection({AddObject(QStringLiteral("Cup"), 1)});

    EXPECT_TRUE(ParentText()->text().isEmpty());
    EXPECT_FALSE(ParentText()->isEnabled());
    EXPECT_TRUE(PickParent()->isEnabled());
    EXPECT_FALSE(Unlink()->isEnabled());
    EXPECT_FALSE(LinkSubNode()->isEnabled());
}

// Rig (type 18) <- Hat; Excluded (sub-node linking excluded) <- Scarf
TEST_F(SectionRefresh, ParentsWithoutNodesToLinkToOfferNoSubNodeLink)
{
    UB::CHandle* rig = AddObject(QStringLiteral("Rig"), 18);
    UB::CHandle* excluded = AddObject(QStringLiteral("Excluded"), 1);
    scene->Desc(excluded).subNodeLinkExcluded = true;
    UB::CHandle* hat = AddObject(QStringLiteral("Hat"), 1);
    UB::CHandle* scarf = AddObject(QStringLiteral("Scarf"), 1);
    scene->SetLinkKey(hat, 0, rig);
    scene->SetLinkKey(scarf, 0, excluded);

    for (UB::CHandle* object : {hat, scarf}) {
        scene->SetSelection({object});
        EXPECT_TRUE(Unlink()->isEnabled());
        EXPECT_FALSE(LinkSubNode()->isEnabled());
        EXPECT_FALSE(ParentText()->text().isEmpty());
    }
}

TEST_F(SectionRefresh, ABlockedObjectShowsNothingAndOffersNothing)
{
    UB::CHandle* table = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* lantern = AddObject(QStringLiteral("Lantern"), 41);
    scene->Desc(lantern).linkBlocked = true;
    scene->SetLinkKey(lantern, 0, table);

    scene->SetSelection({lantern});

    EXPECT_TRUE(section->isVisible());
    EXPECT_TRUE(ParentText()->text().isEmpty());
    for (QWidget* widget :
         {static_cast<QWidget*>(ParentText()), static_cast<QWidget*>(PickParent()),
          static_cast<QWidget*>(Unlink()), static_cast<QWidget*>(LinkCamera()),
          static_cast<QWidget*>(LinkSubNode())})
        EXPECT_FALSE(widget->isEnabled()) << widget->objectName().toStdString();
    EXPECT_TRUE(LinkCamera()->isVisible());
}

TEST_F(SectionRefresh, ParentLabelIsStyledApartForObjectsThatTakeNoKeys)
{
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    UB::CHandle* effect = AddObject(QStringLiteral("Effect"), 14);
    UB::CHandle* sound = AddObject(QStringLiteral("Sound"), 15);
    QLabel* label = Widget<QLabel>("label_512");
    ASSERT_NE(label, nullptr);

    scene->SetSelection({cup});
    EXPECT_EQ(label->objectName(), QStringLiteral("label_512"));
    const bool keyedItalic = label->font().italic();
    const QColor keyedColor = label->palette().color(QPalette::WindowText);

    scene->SetSelection({effect});
    EXPECT_EQ(label->objectName(), QStringLiteral("label_512NoKey"));
    EXPECT_NE(label->font().italic(), keyedItalic);
    EXPECT_NE(label->palette().color(QPalette::WindowText), keyedColor);

    scene->SetSelection({cup, sound}); // several objects leave the name alone
    EXPECT_EQ(label->objectName(), QStringLiteral("label_512NoKey"));
    scene->SetSelection({cup});
    EXPECT_EQ(label->objectName(), QStringLiteral("label_512"));
    EXPECT_EQ(label->font().italic(), keyedItalic);
}

// Table <- Cup, Table' <- Plate (another object also called Table), Shelf <- Book, Spoon
TEST_F(SectionRefresh, SeveralObjectsShowTheParentNameTheyShare)
{
    UB::CHandle* table = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* otherTable = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* shelf = AddObject(QStringLiteral("Shelf"), 1);
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    UB::CHandle* plate = AddObject(QStringLiteral("Plate"), 41);
    UB::CHandle* book = AddObject(QStringLiteral("Book"), 1);
    UB::CHandle* spoon = AddObject(QStringLiteral("Spoon"), 1);
    scene->SetLinkKey(cup, 0, table);
    scene->SetLinkKey(plate, 0, otherTable);
    scene->SetLinkKey(book, 0, shelf);

    scene->SetSelection({cup, plate});
    EXPECT_EQ(ParentText()->text(), QStringLiteral("Table"));
    EXPECT_TRUE(ParentText()->isEnabled());
    EXPECT_FALSE(LinkCamera()->isVisible());
    EXPECT_FALSE(LinkSubNode()->isEnabled());
    EXPECT_TRUE(PickParent()->isEnabled());
    EXPECT_TRUE(Unlink()->isEnabled());

    scene->SetSelection({cup, book});
    EXPECT_TRUE(ParentText()->text().isEmpty());
    EXPECT_FALSE(ParentText()->isEnabled());

    scene->SetSelection({cup, spoon});
    EXPECT_TRUE(ParentText()->text().isEmpty());
    EXPECT_FALSE(ParentText()->isEnabled());
    EXPECT_TRUE(Unlink()->isEnabled()) << "several objects may always be unlinked";
}

TEST_F(SectionRefresh, NothingChangesWhilePlaying)
{
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    UB::CHandle* lantern = AddObject(QStringLiteral("Lantern"), 41);
    scene->SetSelection({cup});
    scene->Play();

    scene->SetSelection({lantern});
    scene->SetCurrentTime(12);
    EXPECT_FALSE(LinkCamera()->isVisible());
    EXPECT_EQ(section->UpdateSectionUi(), UB::kNothingDone);

    scene->Stop();
    scene->SetCurrentTime(13);
    EXPECT_TRUE(LinkCamera()->isVisible());
}

TEST_F(SectionRefresh, FailingHostQueriesLeaveTheirWidgetsAndReturnTheCode)
{
    UB::CHandle* table = AddObject(QStringLiteral("Table"), 1);
    UB::CHandle* cup = AddObject(QStringLiteral("Cup"), 1);
    scene->SetLinkKey(cup, 0, table);
    scene->SetSelection({cup});
    ASSERT_TRUE(Unlink()->isEnabled());
    const UB::Result failure{UB::ToCode(0x80004005u)};

    scene->InjectFault(QStringLiteral("GetLinkParent"), failure.code, 1);
    EXPECT_EQ(section->UpdateSectionSinglePick(cup), failure);
    EXPECT_TRUE(Unlink()->isEnabled());
    EXPECT_EQ(ParentText()->text(), QStringLiteral("Table"));

    section->EnableSection(false);
    scene->InjectFault(QStringLiteral("GetSelectedObjects"), failure.code, 1);
    EXPECT_EQ(section->UpdateSectionUi(), failure);
    EXPECT_TRUE(section->GetSectionGroupBox()->isEnabled());
    EXPECT_TRUE(section->isVisible());
    EXPECT_EQ(ParentText()->text(), QStringLiteral("Table"));
}

} // namespace
