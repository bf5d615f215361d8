#include "TestComponents.h"
#include "TestResource.h"
#include "support/MessageRecorder.h"

#include "host/KVPluginDialog.h"
#include "host/KVWidgetBuilder.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLayout>
#include <QMenuBar>
#include <QTest>

#include <memory>

namespace {

const QString kSectionLayout = QStringLiteral(":/test/framework/TestSection.ui");
const QString kDialogLayout = QStringLiteral(":/test/framework/TestDialog.ui");
const QString kWidgetDialogLayout = QStringLiteral(":/test/framework/TestWidgetDialog.ui");
const QString kActionsLayout = QStringLiteral(":/test/framework/TestActions.ui");
const QString kLayoutIni = QStringLiteral(":/test/framework/TestLayout.ini");

QStringList MissingNames(const KV::CWidgetBuilder& builder)
{
    return QStringList(builder.GetMissingNames().begin(), builder.GetMissingNames().end());
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

TEST_F(WidgetBuilderTest, SectionLayoutIsPlacedInsideTheWidgetAndBound)
{
    QWidget section;
    CTestSectionComponent component;
    builder.SetUiPath(kSectionLayout);
    CMessageRecorder messages;

    EXPECT_EQ(builder.InitUi(&section, &component, nullptr, true), UB::kOk);

    EXPECT_EQ(component.bindCount, 1);
    ASSERT_NE(component.TestSection, nullptr);
    EXPECT_EQ(component.TestSection->parentWidget(), &section);
    EXPECT_EQ(section.layout()->indexOf(component.TestSection), 0);
    EXPECT_EQ(builder.GetPrimaryRoot(), component.TestSection);
    EXPECT_EQ(builder.GetSecondaryRoot(), &section);
    EXPECT_TRUE(builder.IsReady());
    for (QWidget* widget :
         {static_cast<QWidget*>(component.qtExpandButton),
          static_cast<QWidget*>(component.qtGroupBox), static_cast<QWidget*>(component.label_512),
          static_cast<QWidget*>(component.label_512NoKey),
          static_cast<QWidget*>(component.qtPickParent)}) {
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(section.isAncestorOf(widget)) << qPrintable(widget->objectName());
    }
    EXPECT_EQ(component.qtPickParent->text(), QStringLiteral("Pick Parent"));
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());
    EXPECT_TRUE(messages.GetWarnings().isEmpty()) << qPrintable(messages.GetWarnings().join('|'));

    // What the user sees: the section shows the layout's widgets.
    section.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&section));
    EXPECT_TRUE(component.qtPickParent->isVisible());
}

TEST_F(WidgetBuilderTest, MissingObjectsAreReportedInOneWarningAndDoNotFailTheBuild)
{
    QWidget section;
    CTestSectionComponent component;
    component.askForAbsentObjects = true;
    builder.SetUiPath(kSectionLayout);
    CMessageRecorder messages;

    EXPECT_EQ(builder.InitUi(&section, &component, nullptr, true), UB::kOk);

    EXPECT_EQ(component.qtAbsentLabel, nullptr);
    EXPECT_EQ(component.qtAbsentButton, nullptr);
    EXPECT_NE(component.qtPickParent, nullptr); // binding went on past the gaps
    EXPECT_EQ(MissingNames(builder),
              (QStringList{QStringLiteral("qtAbsentLabel"), QStringLiteral("qtAbsentButton")}));
    ASSERT_EQ(messages.GetWarnings().size(), 1) << qPrintable(messages.GetWarnings().join('|'));
    const QString warning = messages.GetWarnings().first();
    EXPECT_TRUE(warning.contains(kSectionLayout)) << qPrintable(warning);
    EXPECT_TRUE(warning.contains(QStringLiteral("qtAbsentLabel, qtAbsentButton")))
        << qPrintable(warning);

    // A second build with the same builder reports only its own gaps.
    QWidget other;
    CTestSectionComponent complete;
    EXPECT_EQ(builder.InitUi(&other, &complete, nullptr, true), UB::kOk);
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());
    EXPECT_EQ(messages.GetWarnings().size(), 1);
}

TEST_F(WidgetBuilderTest, DialogLayoutIsPlacedInsideThePluginDialog)
{
    for (const QString& layout : {kDialogLayout, kWidgetDialogLayout}) {
        SCOPED_TRACE(layout.toStdString());
        KV::CWidgetBuilder dialogBuilder;
        KV::CPluginDialog dialog;
        // An object the dialog made itself is found through the secondary root.
        auto* enterAction = new QAction(&dialog);
        enterAction->setObjectName(QStringLiteral("qtEnterAction"));
        CTestDialogComponent component;
        dialogBuilder.SetUiPath(layout);

        EXPECT_EQ(dialogBuilder.InitUi(&dialog, &component, nullptr, true, true), UB::kOk);

        ASSERT_NE(component.qtNodeTree, nullptr);
        ASSERT_NE(component.qtOKPushButton, nullptr);
        ASSERT_NE(component.qtCancelPushButton, nullptr);
        EXPECT_EQ(component.qtEnterAction, enterAction);
        EXPECT_EQ(dialogBuilder.GetSecondaryRoot(), &dialog);
        EXPECT_TRUE(dialog.windowTitle().startsWith(QStringLiteral("Pick a Node")));

        // The form is part of the dialog, not a window of its own.
        auto* form = static_cast<QWidget*>(dialogBuilder.GetPrimaryRoot());
        EXPECT_FALSE(form->isWindow());
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_TRUE(component.qtOKPushButton->isVisible());
        EXPECT_EQ(component.qtOKPushButton->window(), &dialog);
        EXPECT_GE(dialog.width(), 320);

        // Esc inside the form ends the plug-in dialog, and the form is there on the next run.
        component.qtNodeTree->setFocus();
        QTest::keyClick(component.qtNodeTree, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        dialog.show();
        EXPECT_TRUE(component.qtNodeTree->isVisible());
    }
}

TEST_F(WidgetBuilderTest, LayoutThatCannotBeLoadedFailsWithAWarningNamingIt)
{
    for (const QString& layout : {QStringLiteral(":/test/framework/Absent.ui"),
                                  QStringLiteral(":/test/framework/Broken.ui"),
                                  QStringLiteral(":/test/framework/TestLayout.ini")}) {
        SCOPED_TRACE(layout.toStdString());
        QWidget section;
        KV::CPluginDialog dialog;
        CTestSectionComponent component;
        KV::CWidgetBuilder failingBuilder;
        failingBuilder.SetUiPath(layout);
        CMessageRecorder messages;

        const UB::Result sectionResult = failingBuilder.InitUi(&section, &component, nullptr, true);
        const UB::Result dialogResult =
            failingBuilder.InitUi(&dialog, &component, nullptr, true, true);

        EXPECT_TRUE(sectionResult.IsFailed());
        EXPECT_EQ(sectionResult, KV::CWidgetBuilder::kLayoutNotLoaded);
        EXPECT_EQ(dialogResult, KV::CWidgetBuilder::kLayoutNotLoaded);
        EXPECT_EQ(component.bindCount, 0);
        EXPECT_TRUE(section.children().isEmpty());
        EXPECT_EQ(messages.GetWarningsWith(layout).size(), 2)
            << qPrintable(messages.GetWarnings().join('|'));
    }
}

TEST_F(WidgetBuilderTest, ActionsLayoutHandsItsToolBarsAndMenusToTheLists)
{
    CTestActionsComponent component;
    UB::CArrayList<QPointer<QToolBar>> toolBars;
    UB::CArrayList<QPointer<QMenu>> menus;
    builder.SetUiPath(kActionsLayout);

    EXPECT_EQ(builder.InitToolbarAndMenuUi(&component, toolBars, menus, nullptr), UB::kOk);

    ASSERT_EQ(toolBars.GetCount(), 2);
    EXPECT_EQ(toolBars[0]->objectName(), QStringLiteral("qtLinkToolBar"));
    EXPECT_EQ(toolBars[1]->objectName(), QStringLiteral("qtCameraToolBar"));
    ASSERT_EQ(menus.GetCount(), 2);
    EXPECT_EQ(menus[0]->objectName(), QStringLiteral("qtLinkMenu"));
    EXPECT_EQ(menus[1]->objectName(), QStringLiteral("qtCameraMenu"));

    ASSERT_NE(component.LinkageAction, nullptr);
    EXPECT_EQ(builder.GetLayoutWindow(), component.LinkageAction);
    EXPECT_FALSE(component.LinkageAction->isVisible());
    EXPECT_EQ(component.qtLinkToolBar, toolBars[0]);
    EXPECT_EQ(component.qtLinkMenu, menus[0]);
    ASSERT_NE(component.qtLinkAction, nullptr);
    ASSERT_NE(component.qtUnlinkAction, nullptr);
    // The bound actions are the ones the tool bar and menu show.
    EXPECT_TRUE(toolBars[0]->actions().contains(component.qtLinkAction));
    EXPECT_EQ(menus[0]->actions(),
              (QList<QAction*>{component.qtLinkAction, component.qtUnlinkAction}));
    EXPECT_EQ(menus[0]->title(), QStringLiteral("Link"));
}

TEST_F(WidgetBuilderTest, ActionsLayoutMustBeAMainWindow)
{
    CTestActionsComponent component;
    UB::CArrayList<QPointer<QToolBar>> toolBars;
    UB::CArrayList<QPointer<QMenu>> menus;
    for (const QString& layout : {kSectionLayout, QStringLiteral(":/test/framework/Absent.ui")}) {
        builder.SetUiPath(layout);
        CMessageRecorder messages;

        EXPECT_EQ(builder.InitToolbarAndMenuUi(&component, toolBars, menus, nullptr),
                  KV::CWidgetBuilder::kLayoutNotLoaded);

        EXPECT_EQ(messages.GetWarningsWith(layout).size(), 1);
        EXPECT_TRUE(toolBars.IsEmpty());
        EXPECT_TRUE(menus.IsEmpty());
        EXPECT_EQ(component.LinkageAction, nullptr);
    }
}

TEST_F(WidgetBuilderTest, NoComponentOrNoWidgetIsRefused)
{
    QWidget section;
    CTestSectionComponent component;
    UB::CArrayList<QPointer<QToolBar>> toolBars;
    UB::CArrayList<QPointer<QMenu>> menus;
    builder.SetUiPath(kSectionLayout);

    EXPECT_EQ(builder.InitUi(&section, nullptr, nullptr, true), KV::CWidgetBuilder::kNoComponent);
    EXPECT_EQ(builder.InitUi(static_cast<QWidget*>(nullptr), &component, nullptr, true),
              KV::CWidgetBuilder::kNoComponent);
    EXPECT_EQ(builder.InitUi(static_cast<QDialog*>(nullptr), &component, nullptr, true, true),
              KV::CWidgetBuilder::kNoComponent);
    EXPECT_EQ(builder.InitToolbarAndMenuUi(nullptr, toolBars, menus, nullptr),
              KV::CWidgetBuilder::kNoComponent);
    EXPECT_TRUE(section.children().isEmpty());
    EXPECT_EQ(component.bindCount, 0);
}

TEST_F(WidgetBuilderTest, LayoutSettingsStyleTheTwoParentLabelsDifferently)
{
    CMessageRecorder messages;
    builder.SetLayoutIniPath(kLayoutIni);
    EXPECT_TRUE(messages.GetWarnings().isEmpty());
    EXPECT_TRUE(builder.GetStyleSheet().contains(QStringLiteral("QLabel#label_512 {")));
    EXPECT_TRUE(builder.GetStyleSheet().contains(QStringLiteral("QLabel#label_512NoKey {")));
    // Comments and the other sections are not part of the style sheet.
    EXPECT_FALSE(builder.GetStyleSheet().contains(QStringLiteral("must look different")));
    EXPECT_FALSE(builder.GetStyleSheet().contains(QStringLiteral("DefaultWidth")));
    EXPECT_FALSE(builder.GetStyleSheet().contains(QStringLiteral("Sans")));

    QWidget section;
    CTestSectionComponent component;
    builder.SetUiPath(kSectionLayout);
    ASSERT_EQ(builder.InitUi(&section, &component, nullptr, true), UB::kOk);
    section.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&section));

    EXPECT_EQ(section.styleSheet(), builder.GetStyleSheet());
    EXPECT_EQ(BackgroundColour(component.label_512), QColor(0xc8, 0x32, 0x32));
    EXPECT_EQ(BackgroundColour(component.label_512NoKey), QColor(0x32, 0x32, 0xc8));
    EXPECT_EQ(component.label_512->palette().color(component.label_512->foregroundRole()),
              QColor(Qt::white));
}

TEST_F(WidgetBuilderTest, StyleIsLeftAloneWhenNotAskedForOrNotReadable)
{
    QWidget unstyled;
    CTestSectionComponent component;
    builder.SetUiPath(kSectionLayout);
    builder.SetLayoutIniPath(kLayoutIni);
    ASSERT_EQ(builder.InitUi(&unstyled, &component, nullptr, false), UB::kOk);
    EXPECT_TRUE(unstyled.styleSheet().isEmpty());

    CMessageRecorder messages;
    const QString absentIni = QStringLiteral(":/test/framework/Absent.ini");
    builder.SetLayoutIniPath(absentIni);
    EXPECT_EQ(messages.GetWarningsWith(absentIni).size(), 1);
    EXPECT_TRUE(builder.GetStyleSheet().isEmpty());

    QWidget section;
    CTestSectionComponent other;
    EXPECT_EQ(builder.InitUi(&section, &other, nullptr, true), UB::kOk);
    EXPECT_TRUE(section.styleSheet().isEmpty());
    EXPECT_NE(other.label_512, nullptr);
}
