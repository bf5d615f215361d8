#include "TestComponents.h"
#include "TestResource.h"

#include "host/KVAbstractSection.h"
#include "host/KVWidgetBuilder.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

// A section built from TestSection.ui, handing its expand button and group box to the base.
class CTestSection : public KV::CAbstractSection
{
public:
    CTestSection()
    {
        m_builder.SetUiPath(QStringLiteral(":/test/framework/TestSection.ui"));
        built = m_builder.InitUi(&widget, &component, nullptr, true);
        SetExpandButton(component.qtExpandButton);
        SetSectionGroupBox(component.qtGroupBox);
    }
    int GetSectionPanel() override { return 4; }
    int GetSectionId() override { return 900; }
    int GetSectionTab() override { return 0; }
    QWidget* GetSectionWidget() override { return &widget; }

    QWidget widget;
    CTestSectionComponent component;
    UB::Result built;

private:
    KV::CWidgetBuilder m_builder;
};

class AbstractSectionTest : public TestResourceSuite
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(section.built, UB::kOk);
        section.widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&section.widget));
    }

    CTestSection section;
};

} // namespace

TEST_F(AbstractSectionTest, ExpandButtonCollapsesAndExpandsTheGroupBox)
{
    QPushButton* button = section.component.qtExpandButton;
    QGroupBox* body = section.component.qtGroupBox;
    ASSERT_TRUE(body->isVisible());
    ASSERT_TRUE(button->isChecked());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(body->isVisible());
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(section.GetSectionExpandState());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(body->isVisible());
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(section.GetSectionExpandState());

    // The host restores a saved state: the button follows without toggling back.
    section.SetSectionExpandState(false);
    EXPECT_FALSE(body->isVisible());
    EXPECT_FALSE(button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(body->isVisible());
}

TEST_F(AbstractSectionTest, OnlyTheLastButtonHandedOverTogglesOncePerClick)
{
    QPushButton* button = section.component.qtExpandButton;
    section.SetExpandButton(button);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(section.GetSectionExpandState());
    EXPECT_FALSE(section.component.qtGroupBox->isVisible());

    auto* replacement = new QPushButton(QStringLiteral("Linkage"), &section.widget);
    replacement->show();
    section.SetExpandButton(replacement);
    EXPECT_FALSE(replacement->isChecked()); // shows the current state

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(section.GetSectionExpandState());
    QTest::mouseClick(replacement, Qt::LeftButton);
    EXPECT_TRUE(section.GetSectionExpandState());
    EXPECT_TRUE(section.component.qtGroupBox->isVisible());
}

TEST_F(AbstractSectionTest, EnableSectionDisablesTheBodyButNotTheExpandButton)
{
    section.EnableSection(false);
    EXPECT_FALSE(section.component.qtGroupBox->isEnabled());
    EXPECT_FALSE(section.component.qtPickParent->isEnabled());
    EXPECT_TRUE(section.component.qtExpandButton->isEnabled());

    // A disabled body can still be collapsed and comes back disabled.
    QTest::mouseClick(section.component.qtExpandButton, Qt::LeftButton);
    QTest::mouseClick(section.component.qtExpandButton, Qt::LeftButton);
    EXPECT_TRUE(section.component.qtGroupBox->isVisible());
    EXPECT_FALSE(section.component.qtPickParent->isEnabled());

    section.EnableSection(true);
    EXPECT_TRUE(section.component.qtPickParent->isEnabled());
    EXPECT_TRUE(section.AbleToShowSection());
}

TEST(AbstractSection, WithoutButtonOrGroupBoxKeepsItsStateAlone)
{
    class CBareSection : public KV::CAbstractSection
    {
    public:
        int GetSectionPanel() override { return 4; }
        int GetSectionId() override { return 901; }
        int GetSectionTab() override { return 0; }
        QWidget* GetSectionWidget() override { return nullptr; }
    } section;

    section.EnableSection(false);
    section.SetSectionExpandState(false);
    section.SetExpandButton(nullptr);
    section.SetSectionGroupBox(nullptr);

    EXPECT_FALSE(section.GetSectionExpandState());
    EXPECT_EQ(section.GetExpandButton(), nullptr);
}
