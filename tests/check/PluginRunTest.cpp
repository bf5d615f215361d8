// A short checker run on the plug-in as built: a few seeded sessions with every check on, and
// load and unload cycles.

#include "CCheckReport.h"
#include "CLoadCycleCheck.h"
#include "CPluginCheck.h"
#include "CheckTestSupport.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(PluginCheckRun, AFewSeededSessionsFindNoFailure)
{
    KV::CCheckOptions options = QuickOptions(QStringLiteral(KV_PLUGIN_FILE), 6, 150);
    options.watchTreeModel = true;
    options.scribbleFaults = true;
    KV::CCheckReport report;

    const bool passed = KV::CPluginCheck(options, report).Run();

    EXPECT_TRUE(passed) << FailureLines(report).toStdString();
    EXPECT_EQ(report.Sessions(), 6);
    EXPECT_GE(report.Events(), 6 * 150);
}

TEST(PluginCheckRun, LoadAndUnloadCyclesLeaveNothingBehind)
{
    KV::CCheckReport report;
    // As many cycles as the checker runs: the allocator's cache fills over the first half.
    KV::CLoadCycleCheck(QStringLiteral(KV_PLUGIN_FILE), 3, 100, 20).Run(report);

    EXPECT_FALSE(HasFailureContaining(report, QStringLiteral("leave things behind")))
        << FailureLines(report).toStdString();
    EXPECT_FALSE(HasFailureContaining(report, QStringLiteral("resource system")))
        << FailureLines(report).toStdString();
    EXPECT_EQ(report.Sessions(), 100);
}
