// Setting the section up: what it stores, what it builds and what it registers with the host.

#include "LinkageSectionTest.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QGroupBox>
#include <QPushButton>

namespace {

using SectionSetup = LinkageSectionTest;

TEST_F(SectionSetup, WithoutAHostNothingIsStoredOrBuilt)
{
    EXPECT_EQ(section->Initialize(QStringLiteral("folder"), QStringLiteral("theme"), nullptr),
              UB::kNoHost);

    EXPECT_TRUE(section->m_firstText.isEmpty());
    EXPECT_EQ(section->m_host, nullptr);
    EXPECT_TRUE(section->m_widgetBuilder.GetFormPath().isEmpty());
    EXPECT_TRUE(section->m_widgetBuilder.GetSetupString().isEmpty());
    EXPECT_EQ(Widget<QWidget>("Linkage"), nullptr);
    EXPECT_EQ(section->GetExpandButton(), nullptr);
    EXPECT_FALSE(section->CanLink({AddObject(QStringLiteral("Box"), 1)}));
    EXPECT_TRUE(section->CanLink({}));
}

TEST(SectionComponent, BindsItsFifteenObjectsInOrder)
{
    KV::CWidgetBuilder notReady; // every lookup fails and is recorded
    CLinkageUiComponent ui;
    ui.BindWidgets(&notReady);

    EXPECT_EQ(
        notReady.GetMissingNames(),
        (QVector<QString>{"horizontalLayout_206", "horizontalLayout_205", "gridLayout",
                          "verticalLayout_146", "verticalLayout", "qtSectionGroupBox", "label_512",
                          "qtLinkNodeText", "qtExpandPushButton", "qtLinkCameraPushButton",
                          "qtPickParent", "qtUnlink", "qtLinkSubNode", "Linkage", "qtEscHotkey"}));
    EXPECT_EQ(ui.GetRootWidget(), nullptr);
}

TEST_F(SectionSetup, BuildsItsLayoutAndHandsTheSectionBaseItsButtonAndBody)
{
    ASSERT_EQ(Initialize(), UB::kOk);

    EXPECT_EQ(section->m_firstText, QStringLiteral(KV_PLUGIN_DIR));
    EXPECT_EQ(section->m_host, scene.get());
    const KV::CWidgetBuilder& builder = section->m_widgetBuilder;
    EXPECT_EQ(builder.GetFormPath(), QStringLiteral(":/plugin/KVLinkageSection/Linkage.ui"));
    EXPECT_EQ(builder.GetPresetPath(), QStringLiteral(":/plugin/KVLinkageSection/Linkage.preset"));
    EXPECT_EQ(builder.GetSetupString(), QStringLiteral("sandbox-theme"));
    EXPECT_EQ(builder.GetLayoutIniPath(), QStringLiteral(":/plugin/KVLinkageSection/LayoutUI.ini"));
    EXPECT_TRUE(builder.GetMissingNames().isEmpty());

    EXPECT_EQ(section->GetSectionWidget(), section);
    EXPECT_EQ(section->GetSectionPanel(), 4);
    EXPECT_EQ(section->GetSectionId(), 336);
    EXPECT_EQ(section->GetSectionTab(), 0);
    EXPECT_NE(Widget<QWidget>("Linkage"), nullptr);
    EXPECT_EQ(section->GetExpandButton(), Widget<QPushButton>("qtExpandPushButton"));
    EXPECT_EQ(section->GetSectionGroupBox(), Widget<QGroupBox>("qtSectionGroupBox"));

    // The expand button folds the section's body away and back.
    window.show();
    QGroupBox* body = Widget<QGroupBox>("qtSectionGroupBox");
    ASSERT_TRUE(body->isVisible());
    section->GetExpandButton()->click();
    EXPECT_FALSE(body->isVisible());
    EXPECT_FALSE(section->GetSectionExpandState());
    section->GetExpandButton()->click();
    EXPECT_TRUE(body->isVisible());
}

TEST_F(SectionSetup, RegistersTheEscHotkeyDisabledUnderItsOwnCategory)
{
    ASSERT_EQ(Initialize(), UB::kOk);

    QAction* esc = Widget<QAction>("qtEscHotkey");
    ASSERT_NE(esc, nullptr);
    EXPECT_FALSE(esc->isEnabled());
    ASSERT_EQ(scene->HotKeyCategories().size(), 1);
    const KV::CHotKeyCategory& category = scene->HotKeyCategories().first();
    EXPECT_EQ(category.owner, QStringLiteral("KVLinkageSection"));
    EXPECT_EQ(category.path, (QStringList{QStringLiteral("[Hot Key] Modify"),
                                          QStringLiteral("[Hot Key] Attribute"),
                                          QStringLiteral("[Hot Key] Linkage")}));
    ASSERT_EQ(category.actions.size(), 1);
    EXPECT_EQ(category.actions.first(), esc);
    EXPECT_EQ(section->m_hotKeyCategory, category.handle);

    // Seven event connections come before the hot key; every call fetches its manager anew.
    QStringList expected;
    for (int i = 0; i < 7; ++i)
        expected << QStringLiteral("GetEventSender");
    expected << QStringLiteral("GetHotKeyManager") << QStringLiteral("RegisterHotKeyCategory")
             << QStringLiteral("GetHotKeyManager") << QStringLiteral("RegisterHotKeyAction");
    QStringList calls;
    for (const KV::CJournalEntry& entry : scene->Journal())
        calls << entry.call;
    EXPECT_EQ(calls, expected);
}

} // namespace
