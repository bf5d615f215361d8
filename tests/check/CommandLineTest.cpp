// korvel-plugincheck's command line, and the executable's summary and exit status.

#include "CCheckOptions.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

TEST(CommandLine, StrictnessSetsTheDefaultsOtherOptionsOverrideThemAndMistakesAreNamed)
{
    KV::CCheckOptions options;
    QString error;
    ASSERT_TRUE(KV::CCheckOptions::Parse(
        {"--strictness", "10", "--seed", "501", "--seeds", "500", "--events", "50", "p.so"},
        &options, &error))
        << error.toStdString();
    EXPECT_EQ(options.seeds, 500);
    EXPECT_EQ(options.events, 50);
    EXPECT_EQ(options.firstSeed, 501u);
    EXPECT_EQ(options.loadCycles, 100);
    const std::pair<QStringList, QString> mistakes[] = {
        {{"--strictness", "11", "p.so"}, "--strictness goes from 1 to 10"},
        {{"--seed", "5", "--randomise", "p.so"}, "exclude each other"},
        {{"--bogus", "p.so"}, "Unknown option 'bogus'"},
        {{}, "no PLUGIN_FILE given"},
        {{"a.so", "b.so"}, "only one PLUGIN_FILE"},
    };
    for (const auto& [arguments, expected] : mistakes) {
        error.clear();
        EXPECT_FALSE(KV::CCheckOptions::Parse(arguments, &options, &error))
            << expected.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
    // The executable prints the summary and says by its exit status what it found.
    QTemporaryDir folder;
    QProcess check;
    check.start(QStringLiteral(KV_CHECK_EXECUTABLE),
                {"--strictness", "1", folder.filePath(QStringLiteral("libMissing.so"))});
    ASSERT_TRUE(check.waitForFinished(60000));
    const QString output = QString::fromUtf8(check.readAllStandardOutput());
    EXPECT_EQ(check.exitCode(), 1);
    EXPECT_TRUE(output.contains(QLatin1String("libMissing.so did not load")) &&
                output.contains(QLatin1String("\n0 sessions, 0 events, 1 failures\n")))
        << output.toStdString();
    check.start(QStringLiteral(KV_CHECK_EXECUTABLE), {QStringLiteral("--strictness")});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(check.readAllStandardError()).contains(QLatin1String("usage:")));
}
