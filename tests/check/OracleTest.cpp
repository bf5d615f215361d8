// The oracle must see every widget the plug-in leaves in a state the rules do not allow, and
// the message watch every warning the plug-in gives.

#include "CHostQueries.h"
#include "CHostWindow.h"
#include "CMessageWatch.h"
#include "CPluginLoader.h"
#include "CProcessUsage.h"
#include "CWidgetOracle.h"
#include "KVSceneModel.h"
#include "host/KVAbstractPlugin.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Robot (type 2)
// └─ Arm (a node inside Robot)
// Box (type 1): hangs from Robot from time 0 and from Arm from time 10
// Crate (type 6): may not be linked
class OracleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = std::make_unique<KV::CPluginLoader>(QStringLiteral(KV_PLUGIN_FILE));
        ASSERT_TRUE(plugin->Load()) << plugin->Problem().toStdString();
        host = std::make_unique<KV::CHostWindow>();
        KV::CSceneModel& scene = host->Scene();
        robot = scene.AddObject({QStringLiteral("Robot"), 2});
        arm = scene.AddNode(robot, {QStringLiteral("Arm"), 6, 2});
        box = scene.AddObject({QStringLiteral("Box"), 1});
        crate = scene.AddObject({QStringLiteral("Crate"), 6});
        scene.SetLinkKey(box, 0, robot);
        scene.SetLinkKey(box, 10, arm);

        queries = std::make_unique<KV::CHostQueries>(scene);
        oracle = std::make_unique<KV::CWidgetOracle>(scene, *queries);
        oracle->ConnectFirst();
        QStringList problems;
        ASSERT_EQ(host->Start(*plugin, &problems), UB::kOk);
        ASSERT_TRUE(host->HasAllControls()) << problems.join(QLatin1Char('\n')).toStdString();
        oracle->Attach(host->Widgets());
    }

    void TearDown() override
    {
        oracle.reset();
        queries.reset();
        host.reset();
        plugin.reset();
    }

    QString Differences() const { return oracle->Compare().join(QLatin1Char('\n')); }

    std::unique_ptr<KV::CPluginLoader> plugin;
    std::unique_ptr<KV::CHostWindow> host;
    std::unique_ptr<KV::CHostQueries> queries;
    std::unique_ptr<KV::CWidgetOracle> oracle;
    UB::CHandle* robot = nullptr;
    UB::CHandle* arm = nullptr;
    UB::CHandle* box = nullptr;
    UB::CHandle* crate = nullptr;
};

} // namespace

TEST_F(OracleTest, SeesEachWidgetLeftInAStateTheRulesDoNotAllow)
{
    host->Scene().SetSelection({box});
    ASSERT_TRUE(oracle->Compare().isEmpty()) << Differences().toStdString();
    const KV::CPluginWidgets& w = host->Widgets();

    struct CSabotage
    {
        const char* key;
        std::function<void()> spoil;
        std::function<void()> repair;
    };
    const std::vector<CSabotage> sabotages = {
        {"qtUnlink enabled", [&] { w.unlink->setEnabled(false); },
         [&] {
             w.unlink->setEnabled(true);
         }},
        {"the section's shown state", [&] { w.section->hide(); },
         [&] {
             w.section->show();
         }},
        {"qtLinkNodeText text", [&] { w.linkNodeText->setText(QStringLiteral("Crate")); },
         [&] {
             w.linkNodeText->setText(QStringLiteral("Robot"));
         }},
        {"qtCUnlinkAction shown", [&] { w.contextUnlinkAction->setVisible(false); },
         [&] {
             w.contextUnlinkAction->setVisible(true);
         }},
        {"the split link button enabled", [&] { w.splitButton->setEnabled(false); },
         [&] {
             w.splitButton->setEnabled(true);
         }},
        {"the object name of label_512",
         [&] { w.label->setObjectName(QStringLiteral("label_512NoKey")); },
         [&] {
             w.label->setObjectName(QStringLiteral("label_512"));
         }},
        {"qtEscHotkey enabled", [&] { w.escHotkey->setEnabled(true); },
         [&] {
             w.escHotkey->setEnabled(false);
         }},
    };
    for (const CSabotage& sabotage : sabotages) {
        SCOPED_TRACE(sabotage.key);
        sabotage.spoil();
        const QStringList differences = oracle->Compare();
        ASSERT_EQ(differences.size(), 1) << Differences().toStdString();
        EXPECT_TRUE(differences.constFirst().startsWith(QLatin1String(sabotage.key)))
            << differences.constFirst().toStdString();
        sabotage.repair();
        EXPECT_TRUE(oracle->Compare().isEmpty()) << Differences().toStdString();
    }
}

TEST_F(OracleTest, SeesASectionThatMissesAHostEvent)
{
    KV::CSceneModel& scene = host->Scene();
    scene.SetSelection({box});
    ASSERT_EQ(oracle->Expected(QStringLiteral("qtLinkNodeText text")),
              QVariant(QStringLiteral("Robot")));

    // A section deaf to time changes keeps showing the parent of time 0.
    QObject::disconnect(scene.EventSender(), &KV::CEventSender::CurrentTimeChanged,
                        host->Widgets().section, nullptr);
    scene.SetCurrentTime(12);

    EXPECT_EQ(oracle->Expected(QStringLiteral("qtLinkNodeText text")),
              QVariant(QStringLiteral("Arm")));
    EXPECT_TRUE(Differences().contains(QLatin1String("qtLinkNodeText text is \"Robot\", should be "
                                                     "\"Arm\"")))
        << Differences().toStdString();
}

TEST_F(OracleTest, KeepsWhatTheRulesLeaveUnchanged)
{
    // While playback runs the section changes nothing, whatever is selected; the commands go
    // off.
    KV::CSceneModel& scene = host->Scene();
    scene.SetSelection({box});
    scene.Play();
    scene.SetSelection({crate});

    EXPECT_EQ(oracle->Expected(QStringLiteral("the section's shown state")), QVariant(true));
    EXPECT_EQ(oracle->Expected(QStringLiteral("qtLinkNodeText text")),
              QVariant(QStringLiteral("Robot")));
    EXPECT_EQ(oracle->Expected(QStringLiteral("qtSectionGroupBox enabled")), QVariant(false));
    EXPECT_EQ(oracle->Expected(QStringLiteral("the split link button enabled")), QVariant(false));
    EXPECT_TRUE(oracle->Compare().isEmpty()) << Differences().toStdString();
}

TEST(MessageWatch, CountsEveryWarningButThePlatformsAndTheExpectedOnes)
{
    KV::CMessageWatch watch;
    watch.Allow(QRegularExpression(QStringLiteral("resource file .* is missing")));

    qWarning("KVPluginQt: resource file '/x/KVLinkageSection.rcc' is missing or unreadable");
    qWarning("This plugin does not support propagateSizeHints()");
    qWarning("Section: lost its group box");
    qCritical("Section: gave up");
    qInfo("just saying");

    EXPECT_EQ(watch.TakeUnexpected(),
              (QStringList{QStringLiteral("warning: Section: lost its group box"),
                           QStringLiteral("critical: Section: gave up")}));
    EXPECT_EQ(watch.TakeAll().size(), 4);
    EXPECT_TRUE(watch.TakeUnexpected().isEmpty());
}

TEST(ProcessUsage, NamesWhatAPieceOfWorkLeftBehind)
{
    delete new QAction(new QWidget); // Qt's first widget and action set up shared state
    qDeleteAll(QApplication::topLevelWidgets());
    const KV::CProcessUsage before = KV::CProcessUsage::Measure();
    auto* window = new QWidget;
    new QAction(window);
    auto block = std::make_unique<std::vector<char>>(4 * 1024 * 1024, 'x');

    const QStringList growth = KV::CProcessUsage::Measure().GrowthSince(before, 64 * 1024);

    EXPECT_TRUE(growth.contains(QStringLiteral("1 more widgets")))
        << growth.join(", ").toStdString();
    EXPECT_TRUE(growth.contains(QStringLiteral("1 more actions")))
        << growth.join(", ").toStdString();
    ASSERT_FALSE(growth.isEmpty());
    EXPECT_TRUE(growth.constFirst().startsWith(QLatin1String("the heap grew by")))
        << growth.join(", ").toStdString();
    delete window;
    block.reset();
    const QStringList after = KV::CProcessUsage::Measure().GrowthSince(before, 64 * 1024);
    EXPECT_TRUE(after.isEmpty()) << after.join(", ").toStdString();
}
