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

using AbstractSectionTest = TestResourceSuite;

} // namespace

TEST_F(AbstractSectionTest, ExpandButtonFoldsTheBodyWhichKeepsItsEnabledState)
{
    CTestSection section;
    ASSERT_EQ(section.built, UB::kOk);
    section.widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&section.widget));
    QPushButton* button = section.component.qtExpandButton;
    QGroupBox* body = section.component.qtGroupBox;
    const auto expectExpanded = [&](bool expanded) {
        EXPECT_EQ(body->isVisible(), expanded);
        EXPECT_EQ(section.GetSectionExpandState(), expanded);
    };
    ASSERT_TRUE(button->isChecked());
    expectExpanded(true);

    // The host restores a saved state: the button follows without toggling back.
    section.SetSectionExpandState(false);
    expectExpanded(false);
    EXPECT_FALSE(button->isChecked());

    // Disabling the section disables its body, not the expand button; a disabled body can
    // still be folded and comes back disabled.
    section.EnableSection(false);
    EXPECT_FALSE(section.component.qtPickParent->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    expectExpanded(true);
    EXPECT_FALSE(section.component.qtPickParent->isEnabled());
    section.EnableSection(true);
    EXPECT_TRUE(section.component.qtPickParent->isEnabled());
}
