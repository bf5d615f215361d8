#include "TestComponents.h"
#include "TestResource.h"
#include "support/MessageRecorder.h"
#include "support/QtPrinters.h"

#include "host/KVWidgetBuilder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLayout>
#include <QTest>

namespace {

const QString kSectionLayout = QStringLiteral(":/test/framework/TestSection.ui");
const QString kLayoutIni = QStringLiteral(":/test/framework/TestLayout.ini");
const QString kAbsentLayout = QStringLiteral(":/test/framework/Absent.ui");

QString Warnings(const CMessageRecorder& messages)
{
    return messages.GetWarnings().join('|');
}

// The colour a widget paints near its top-left corner, clear of any text.
QColor BackgroundColour(QWidget* widget)
{
    return widget->grab().toImage().pixelColor(1, 1);
}

class WidgetBuilderTest : public TestResourceSuite
{
protected:
    KV::CWidgetBuilder builder;
};

} // namespace

TEST_F(WidgetBuilderTest, SectionLayoutIsPlacedInsideTheWidgetAndMissingObjectsAreNamedOnce)
{
    QWidget section;
    CTestSectionComponent component;
    component.askForAbsentObjects = true;
    builder.SetUiPath(kSectionLayout);
    CMessageRecorder messages;

    EXPECT_EQ(builder.InitUi(&section, &component, nullptr, true), UB::kOk);

    EXPECT_EQ(component.bindCount, 1);
    EXPECT_EQ(section.layout()->indexOf(component.TestSection), 0);
    EXPECT_EQ(builder.GetPrimaryRoot(), component.TestSection);
    EXPECT_EQ(builder.GetSecondaryRoot(), &section);
    // Binding goes on past the gaps, which one warning names with the layout.
    EXPECT_TRUE(section.isAncestorOf(component.qtPickParent));
    EXPECT_EQ(builder.GetMissingNames(), (QVector<QString>{QStringLiteral("qtAbsentLabel"),
                                                           QStringLiteral("qtAbsentButton")}));
    ASSERT_EQ(messages.GetWarningsWith(kSectionLayout).size(), 1) << qPrintable(Warnings(messages));
    EXPECT_TRUE(
        messages.GetWarnings().first().contains(QStringLiteral("qtAbsentLabel, qtAbsentButton")));
}

// The plug-in's own broken layouts are its start-up tests' cases; here, the warning.
TEST_F(WidgetBuilderTest, LayoutThatCannotBeLoadedFailsWithAWarningNamingIt)
{
    QWidget section;
    CTestSectionComponent component;
    builder.SetUiPath(kAbsentLayout);
    CMessageRecorder messages;
    EXPECT_EQ(builder.InitUi(&section, &component, nullptr, true),
              KV::CWidgetBuilder::kLayoutNotLoaded);
    EXPECT_EQ(messages.GetWarningsWith(kAbsentLayout).size(), 1) << qPrintable(Warnings(messages));
    EXPECT_EQ(component.bindCount, 0);
}

TEST_F(WidgetBuilderTest, LayoutSettingsStyleTheTwoParentLabelsDifferentlyWhenAskedTo)
{
    CMessageRecorder messages;
    builder.SetLayoutIniPath(kLayoutIni);
    EXPECT_TRUE(messages.GetWarnings().isEmpty());
    EXPECT_FALSE(builder.GetStyleSheet().contains(QStringLiteral("DefaultWidth")));

    QWidget section;
    QWidget unstyled;
    CTestSectionComponent component;
    CTestSectionComponent other;
    builder.SetUiPath(kSectionLayout);
    ASSERT_EQ(builder.InitUi(&section, &component, nullptr, true), UB::kOk);
    ASSERT_EQ(builder.InitUi(&unstyled, &other, nullptr, false), UB::kOk);
    EXPECT_TRUE(unstyled.styleSheet().isEmpty());
    section.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&section));
    EXPECT_EQ(section.styleSheet(), builder.GetStyleSheet());
    EXPECT_EQ(BackgroundColour(component.label_512), QColor(0xc8, 0x32, 0x32));
    EXPECT_EQ(BackgroundColour(component.label_512NoKey), QColor(0x32, 0x32, 0xc8));
    EXPECT_EQ(component.label_512->palette().color(component.label_512->foregroundRole()),
              QColor(Qt::white));

    // Settings that cannot be read give a warning and no style.
    const QString absentIni = QStringLiteral(":/test/framework/Absent.ini");
    builder.SetLayoutIniPath(absentIni);
    EXPECT_EQ(messages.GetWarningsWith(absentIni).size(), 1);
    EXPECT_TRUE(builder.GetStyleSheet().isEmpty());
    QWidget plain;
    EXPECT_EQ(builder.InitUi(&plain, &other, nullptr, true), UB::kOk);
    EXPECT_TRUE(plain.styleSheet().isEmpty());
}
