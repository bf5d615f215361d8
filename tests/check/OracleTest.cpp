// The checker's own senses: the oracle sees every widget the plug-in leaves in a state the rules
// do not allow, the message watch every unexpected warning, the usage measure what work left.

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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <tuple>

TEST(Oracle, SeesEachWidgetLeftInAStateTheRulesDoNotAllow)
{
    KV::CPluginLoader plugin(QStringLiteral(KV_PLUGIN_FILE));
    ASSERT_TRUE(plugin.Load()) << plugin.Problem().toStdString();
    KV::CHostWindow host;
    // Box hangs from Robot from time 0 and from Robot's Arm from time 10.
    KV::CSceneModel& scene = host.Scene();
    UB::CHandle* robot = scene.AddObject({QStringLiteral("Robot"), 2});
    UB::CHandle* box = scene.AddObject({QStringLiteral("Box"), 1});
    scene.SetLinkKey(box, 0, robot);
    scene.SetLinkKey(box, 10, scene.AddNode(robot, {QStringLiteral("Arm"), 6, 2}));
    KV::CHostQueries queries(scene);
    KV::CWidgetOracle oracle(scene, queries);
    oracle.ConnectFirst();
    ASSERT_EQ(host.Start(plugin, nullptr), UB::kOk);
    ASSERT_TRUE(host.HasAllControls());
    oracle.Attach(host.Widgets());
    auto differences = [&] {
        return oracle.Compare().join(QLatin1Char('\n')).toStdString();
    };
    scene.SetSelection({box});
    ASSERT_TRUE(oracle.Compare().isEmpty()) << differences();

    // Each widget set wrong and back, through its Qt property.
    const KV::CPluginWidgets& w = host.Widgets();
    const std::tuple<const char*, QObject*, const char*, QVariant, QVariant> sabotages[] = {
        {"qtUnlink enabled", w.unlink, "enabled", false, true},
        {"the section's shown state", w.section, "visible", false, true},
        {"qtLinkNodeText text", w.linkNodeText, "text", "Crate", "Robot"},
        {"qtCUnlinkAction shown", w.contextUnlinkAction, "visible", false, true},
        {"the split link button enabled", w.splitButton, "enabled", false, true},
        {"the object name of label_512", w.label, "objectName", "label_512NoKey", "label_512"},
        {"qtEscHotkey enabled", w.escHotkey, "enabled", true, false},
    };
    for (const auto& [key, widget, property, spoiled, right] : sabotages) {
        SCOPED_TRACE(key);
        widget->setProperty(property, spoiled);
        const QStringList found = oracle.Compare();
        ASSERT_EQ(found.size(), 1) << differences();
        EXPECT_TRUE(found.constFirst().startsWith(QLatin1String(key))) << differences();
        widget->setProperty(property, right);
        EXPECT_TRUE(oracle.Compare().isEmpty()) << differences();
    }

    // A section deaf to time changes keeps showing the parent of time 0.
    QObject::disconnect(scene.EventSender(), &KV::CEventSender::CurrentTimeChanged, w.section,
                        nullptr);
    scene.SetCurrentTime(12);
    EXPECT_TRUE(QString::fromStdString(differences())
                    .contains(QLatin1String("qtLinkNodeText text is \"Robot\", should be \"Arm\"")))
        << differences();
}

TEST(Oracle, MessageWatchAndUsageReportWhatTheCheckedWorkLeft)
{
    KV::CMessageWatch watch;
    watch.Allow(QRegularExpression(QStringLiteral("resource file .* is missing")));
    qWarning("KVPluginQt: resource file '/x/KVLinkageSection.rcc' is missing or unreadable");
    qWarning("This plugin does not support propagateSizeHints()");
    qWarning("Section: lost its group box");
    qCritical("Section: gave up");
    qInfo("just saying");
    EXPECT_EQ(watch.TakeUnexpected(),
              (QStringList{"warning: Section: lost its group box", "critical: Section: gave up"}));

    delete new QAction(new QWidget); // Qt's first widget and action set up shared state
    qDeleteAll(QApplication::topLevelWidgets());
    const KV::CProcessUsage before = KV::CProcessUsage::Measure();
    auto* window = new QWidget;
    new QAction(window);
    auto block = std::make_unique<std::vector<char>>(4 * 1024 * 1024, 'x');
    const QStringList growth = KV::CProcessUsage::Measure().GrowthSince(before, 64 * 1024);
    EXPECT_TRUE(growth.value(0).startsWith(QLatin1String("the heap grew by")) &&
                growth.contains(QStringLiteral("1 more widgets")) &&
                growth.contains(QStringLiteral("1 more actions")))
        << growth.join(", ").toStdString();
    delete window;
    block.reset();
    EXPECT_TRUE(KV::CProcessUsage::Measure().GrowthSince(before, 64 * 1024).isEmpty());
}
