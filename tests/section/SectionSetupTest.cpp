// Setting the section up: what it stores, what it builds and what it registers with the host.

#include "LinkageSectionTest.h"
#include "support/Journal.h"
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

TEST_F(SectionSetup, BuildsItsLayoutAndHandsTheSectionBaseItsButtonAndBody)
{
    ASSERT_EQ(Initialize(), UB::kOk);

    // The texts are kept for the dialog the section makes later; the layout and its style show
    // on the widgets themselves.
    EXPECT_EQ(section->m_firstText, QStringLiteral(KV_PLUGIN_DIR));
    EXPECT_EQ(section->m_widgetBuilder.GetSetupString(), QStringLiteral("sandbox-theme"));
    EXPECT_TRUE(section->m_widgetBuilder.GetMissingNames().isEmpty());

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

    // Every call fetches the hot-key manager anew.
    const QString hotKeys = QStringLiteral("GetHotKeyManager");
    EXPECT_EQ(JournalCalls(*scene, {hotKeys, QStringLiteral("RegisterHotKeyCategory"),
                                    QStringLiteral("RegisterHotKeyAction")}),
              (QStringList{hotKeys, QStringLiteral("RegisterHotKeyCategory"), hotKeys,
                           QStringLiteral("RegisterHotKeyAction")}));
}

} // namespace
