#include "sdk/CUiComponent.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include <memory>

namespace {

QStringList MissingNames(const KV::CWidgetBuilder& builder)
{
    return QStringList(builder.GetMissingNames().begin(), builder.GetMissingNames().end());
}

template<typename T>
T* MakeChild(QWidget* parent, const char* name)
{
    auto* child = new T(parent);
    child->setObjectName(QString::fromLatin1(name));
    return child;
}

// A builder bound to two hand-made roots, ready for lookups.
class FindWidgetTest : public ::testing::Test
{
protected:
    FindWidgetTest()
    {
        primary->setObjectName(QStringLiteral("Linkage"));
        secondary->setObjectName(QStringLiteral("qtSectionHost"));
        builder.SetRoots(primary.get(), secondary.get());
        builder.SetReady(true);
    }

    std::unique_ptr<QWidget> primary = std::make_unique<QWidget>();
    std::unique_ptr<QWidget> secondary = std::make_unique<QWidget>();
    KV::CWidgetBuilder builder;
};

// A component of three objects, bound in the order it declares them.
class CThreeObjectComponent : public CUiComponent
{
public:
    void BindWidgets(KV::CWidgetBuilder* builder) override
    {
        qtTitleLabel = FindWidget<QLabel>(builder, QStringLiteral("qtTitleLabel"));
        qtOKPushButton = FindWidget<QPushButton>(builder, QStringLiteral("qtOKPushButton"));
        qtNodeTree = FindWidget<QTreeWidget>(builder, QStringLiteral("qtNodeTree"));
    }
    QWidget* GetRootWidget() override { return nullptr; }

    QLabel* qtTitleLabel = nullptr;
    QPushButton* qtOKPushButton = nullptr;
    QTreeWidget* qtNodeTree = nullptr;
};

} // namespace

//   Linkage (QWidget)            FindWidget<QPushButton>("Linkage")
//   └─ Linkage (QPushButton)
TEST_F(FindWidgetTest, RootNamedLikeTargetButOfAnotherClassGivesNullWithoutSearchingChildren)
{
    MakeChild<QPushButton>(primary.get(), "Linkage");
    MakeChild<QPushButton>(secondary.get(), "Linkage");

    EXPECT_EQ(FindWidget<QPushButton>(&builder, QStringLiteral("Linkage")), nullptr);
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());

    // Of the right class, the root itself is the answer, not its namesake child.
    EXPECT_EQ(FindWidget<QWidget>(&builder, QStringLiteral("Linkage")), primary.get());
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());
}

TEST_F(FindWidgetTest, RootNameComparisonIsExactAndCaseSensitive)
{
    QLabel* child = MakeChild<QLabel>(primary.get(), "linkage");

    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("linkage")), child);
    EXPECT_EQ(FindWidget<QWidget>(&builder, QStringLiteral("Linkage ")), nullptr);
    EXPECT_EQ(MissingNames(builder), QStringList{QStringLiteral("Linkage ")});
}

//   Linkage                      qtSectionHost
//   ├─ qtGroup                   └─ qtEscHotkey (QAction)
//   │  └─ qtParentLabel (QLabel)
//   └─ qtPickParent (QPushButton)
TEST_F(FindWidgetTest, SecondaryRootIsSearchedOnlyWhenThePrimaryTreeHasNoMatch)
{
    QWidget* group = MakeChild<QWidget>(primary.get(), "qtGroup");
    QLabel* primaryLabel = MakeChild<QLabel>(group, "qtParentLabel");
    MakeChild<QPushButton>(primary.get(), "qtPickParent");
    auto* secondaryAction = new QAction(secondary.get());
    secondaryAction->setObjectName(QStringLiteral("qtEscHotkey"));
    MakeChild<QLabel>(secondary.get(), "qtParentLabel");

    EXPECT_EQ(FindWidget<QAction>(&builder, QStringLiteral("qtEscHotkey")), secondaryAction);
    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtParentLabel")), primaryLabel);
    // The secondary root itself is never compared, only its descendants.
    EXPECT_EQ(FindWidget<QWidget>(&builder, QStringLiteral("qtSectionHost")), nullptr);
    EXPECT_EQ(MissingNames(builder), QStringList{QStringLiteral("qtSectionHost")});

    builder.SetRoots(primary.get(), nullptr);
    EXPECT_EQ(FindWidget<QAction>(&builder, QStringLiteral("qtEscHotkey")), nullptr);
    EXPECT_EQ(MissingNames(builder),
              (QStringList{QStringLiteral("qtSectionHost"), QStringLiteral("qtEscHotkey")}));
}

//   Linkage
//   ├─ qtBox
//   │  └─ qtName (QLabel)   deeper, created first
//   ├─ qtName (QWidget)     right name, another class
//   ├─ qtName (QLabel)      first direct match
//   └─ qtName (QLabel)
TEST_F(FindWidgetTest, TwoMatchingDescendantsGiveTheOneFindChildMeetsFirst)
{
    QWidget* box = MakeChild<QWidget>(primary.get(), "qtBox");
    MakeChild<QLabel>(box, "qtName");
    QWidget* plain = MakeChild<QWidget>(primary.get(), "qtName");
    QLabel* firstDirect = MakeChild<QLabel>(primary.get(), "qtName");
    MakeChild<QLabel>(primary.get(), "qtName");

    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtName")), firstDirect);
    EXPECT_EQ(FindWidget<QWidget>(&builder, QStringLiteral("qtName")), plain);
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());
}

//   Linkage
//   ├─ qtParentName (QWidget)      right name, another class
//   └─ qtBox
//      └─ qtParentName (QLabel)
TEST_F(FindWidgetTest, DescendantOfTheRightNameButAnotherClassIsSkipped)
{
    MakeChild<QWidget>(primary.get(), "qtParentName");
    QLabel* label = MakeChild<QLabel>(MakeChild<QWidget>(primary.get(), "qtBox"), "qtParentName");

    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtParentName")), label);
    EXPECT_EQ(FindWidget<QPushButton>(&builder, QStringLiteral("qtParentName")), nullptr);
    EXPECT_EQ(MissingNames(builder), QStringList{QStringLiteral("qtParentName")});
}

TEST_F(FindWidgetTest, ClearReadyFlagRecordsEveryNameInBindingOrderAndBindsNothing)
{
    MakeChild<QLabel>(primary.get(), "qtTitleLabel");
    MakeChild<QPushButton>(primary.get(), "qtOKPushButton");
    MakeChild<QTreeWidget>(secondary.get(), "qtNodeTree");
    builder.SetReady(false);
    CThreeObjectComponent component;

    component.BindWidgets(&builder);

    EXPECT_EQ(component.qtTitleLabel, nullptr);
    EXPECT_EQ(component.qtOKPushButton, nullptr);
    EXPECT_EQ(component.qtNodeTree, nullptr);
    EXPECT_EQ(MissingNames(builder),
              (QStringList{QStringLiteral("qtTitleLabel"), QStringLiteral("qtOKPushButton"),
                           QStringLiteral("qtNodeTree")}));

    // Once ready, the same binding finds all three and records nothing more.
    builder.SetReady(true);
    component.BindWidgets(&builder);
    EXPECT_NE(component.qtTitleLabel, nullptr);
    EXPECT_NE(component.qtOKPushButton, nullptr);
    EXPECT_NE(component.qtNodeTree, nullptr);
    EXPECT_EQ(builder.GetMissingNames().size(), 3);
}

TEST_F(FindWidgetTest, BindingContinuesPastMissingObjects)
{
    MakeChild<QTreeWidget>(primary.get(), "qtNodeTree");
    CThreeObjectComponent component;

    component.BindWidgets(&builder);

    EXPECT_EQ(component.qtTitleLabel, nullptr);
    EXPECT_EQ(component.qtOKPushButton, nullptr);
    EXPECT_EQ(component.qtNodeTree, primary->findChild<QTreeWidget*>());
    EXPECT_EQ(MissingNames(builder),
              (QStringList{QStringLiteral("qtTitleLabel"), QStringLiteral("qtOKPushButton")}));
}

TEST_F(FindWidgetTest, NoPrimaryRootStillSearchesTheSecondary)
{
    QLabel* label = MakeChild<QLabel>(secondary.get(), "qtTitleLabel");
    builder.SetRoots(nullptr, secondary.get());

    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtTitleLabel")), label);
    EXPECT_EQ(FindWidget<QLabel>(&builder, QStringLiteral("qtMissing")), nullptr);
    EXPECT_EQ(MissingNames(builder), QStringList{QStringLiteral("qtMissing")});
}
