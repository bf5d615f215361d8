// korvel-plugincheck's command line, and the executable's summary and exit status.

#include "CCheckOptions.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

TEST(CommandLine, ReadsTheOptionsAndRefusesWhatItCannotUse)
{
    struct CCase
    {
        QStringList arguments;
        bool valid;
        QString error;
    };
    const CCase cases[] = {
        {{QStringLiteral("p.so")}, true, {}},
        {{QStringLiteral("--strictness"), QStringLiteral("10"), QStringLiteral("p.so")}, true, {}},
        {{QStringLiteral("--strictness"), QStringLiteral("11"), QStringLiteral("p.so")},
         false,
         QStringLiteral("--strictness goes from 1 to 10")},
        {{QStringLiteral("--strictness"), QStringLiteral("0"), QStringLiteral("p.so")},
         false,
         QStringLiteral("--strictness needs a whole number of at least 1")},
        {{QStringLiteral("--seeds"), QStringLiteral("many"), QStringLiteral("p.so")},
         false,
         QStringLiteral("--seeds needs a whole number")},
        {{QStringLiteral("--seed"), QStringLiteral("5"), QStringLiteral("--randomise"),
          QStringLiteral("p.so")},
         false,
         QStringLiteral("exclude each other")},
        {{QStringLiteral("--bogus"), QStringLiteral("p.so")},
         false,
         QStringLiteral("Unknown option 'bogus'")},
        {{}, false, QStringLiteral("no PLUGIN_FILE given")},
        {{QStringLiteral("a.so"), QStringLiteral("b.so")},
         false,
         QStringLiteral("only one PLUGIN_FILE")},
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.arguments.join(QLatin1Char(' ')).toStdString());
        KV::CCheckOptions options;
        QString error;
        EXPECT_EQ(KV::CCheckOptions::Parse(test.arguments, &options, &error), test.valid);
        EXPECT_TRUE(error.contains(test.error)) << error.toStdString();
    }
}

TEST(CommandLine, StrictnessSetsTheDefaultsAndTheOtherOptionsOverrideThem)
{
    KV::CCheckOptions options;
    QString error;
    ASSERT_TRUE(KV::CCheckOptions::Parse({QStringLiteral("--strictness"), QStringLiteral("10"),
                                          QStringLiteral("--events"), QStringLiteral("50"),
                                          QStringLiteral("p.so")},
                                         &options, &error));
    EXPECT_EQ(options.seeds, 1000);
    EXPECT_EQ(options.events, 50);
    EXPECT_EQ(options.loadCycles, 100);
    EXPECT_EQ(options.sceneFileVariants, 10000);
    EXPECT_TRUE(options.watchTreeModel);

    ASSERT_TRUE(KV::CCheckOptions::Parse(
        {QStringLiteral("--seed"), QStringLiteral("4000000000"), QStringLiteral("p.so")}, &options,
        &error));
    EXPECT_EQ(options.seeds, 1);
    EXPECT_EQ(options.firstSeed, 4000000000u);

    ASSERT_TRUE(KV::CCheckOptions::Parse({QStringLiteral("--seed"), QStringLiteral("501"),
                                          QStringLiteral("--seeds"), QStringLiteral("500"),
                                          QStringLiteral("p.so")},
                                         &options, &error));
    EXPECT_EQ(options.seeds, 500);
    EXPECT_EQ(options.firstSeed, 501u);
}

TEST(CommandLine, TheExecutablePrintsTheSummaryAndFailsWithoutAPlugIn)
{
    QTemporaryDir folder;
    QProcess check;
    check.start(QStringLiteral(KV_CHECK_EXECUTABLE),
                {QStringLiteral("--strictness"), QStringLiteral("1"),
                 folder.filePath(QStringLiteral("libMissing.so"))});
    ASSERT_TRUE(check.waitForFinished(60000));
    const QString output = QString::fromUtf8(check.readAllStandardOutput());

    EXPECT_EQ(check.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(check.exitCode(), 1);
    EXPECT_TRUE(output.contains(QLatin1String("libMissing.so did not load")))
        << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("\n0 sessions, 0 events, 1 failures\n")))
        << output.toStdString();

    check.start(QStringLiteral(KV_CHECK_EXECUTABLE), {QStringLiteral("--strictness")});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(check.readAllStandardError()).contains(QLatin1String("usage:")));
}
