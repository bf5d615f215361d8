// Plug-in files the host cannot start: each is turned away with a message that says what is
// wrong with it, and nothing crashes. (The built plug-in's own seeded run is ctest's
// korvel-plugincheck.strictness5.)

#include "CCheckReport.h"
#include "CPluginCheck.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

/// Every failure of a report, one a line.
QString FailureLines(const KV::CCheckReport& report)
{
    QStringList lines;
    for (const KV::CCheckReport::CFailure& failure : report.Failures())
        lines.append(failure.ToString());
    return lines.join(QLatin1Char('\n'));
}

QString CopyBuiltPlugin(const QDir& folder)
{
    const QString copy = folder.filePath(QFileInfo(QStringLiteral(KV_PLUGIN_FILE)).fileName());
    QFile::copy(QStringLiteral(KV_PLUGIN_FILE), copy);
    return copy;
}

QString Write(const QDir& folder, const char* name, const QByteArray& content)
{
    QFile file(folder.filePath(QLatin1String(name)));
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return file.fileName();
}

} // namespace

TEST(BadPluginFiles, EachFileTheHostCannotStartIsTurnedAwayWithWhatIsWrong)
{
    const struct
    {
        const char* what;
        std::function<QString(const QDir& folder)> make;
        QStringList mustSay;
        bool runs = false; // whether any of the library's code may run
    } cases[] = {
        {"a missing file",
         [](const QDir& folder) { return folder.filePath(QStringLiteral("libGone.so")); },
         {QStringLiteral("libGone.so did not load: The shared library was not found.")}},
        {"a text file named like a library",
         [](const QDir& folder) { return Write(folder, "libText.so", "not a library\n"); },
         {QStringLiteral("libText.so did not load")}},
        {"a library without plug-in metadata",
         [](const QDir&) { return QStringLiteral(KV_PLAIN_LIBRARY); },
         {QStringLiteral("libCheckPlainLibrary.so did not load")}},
        {"a Qt plug-in of another interface",
         [](const QDir&) { return QStringLiteral(KV_OTHER_INTERFACE_PLUGIN); },
         {QStringLiteral("is a Qt plug-in but not a Korvel plug-in"),
          QStringLiteral("\"Example.Other.Interface/1.0\"")}},
        {"the plug-in without its resource file",
         &CopyBuiltPlugin,
         {QStringLiteral("its resource file KVLinkageSection.rcc is missing"),
          QStringLiteral("Initialize refused to start")},
         true},
        {"the plug-in with a resource file that is not one",
         [](const QDir& folder) {
             Write(folder, "KVLinkageSection.rcc", QByteArray(4096, 'x'));
             return CopyBuiltPlugin(folder);
         },
         {QStringLiteral("Initialize returned 0x")},
         true},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        qunsetenv("KV_OTHER_INTERFACE_PLUGIN_RAN");
        QTemporaryDir folder;
        KV::CCheckReport report;
        // A quick check: a couple of short sessions and nothing else.
        KV::CCheckOptions options = KV::CCheckOptions::ForStrictness(1);
        options.pluginFile = bad.make(QDir(folder.path()));
        options.loadCycles = options.sceneFileVariants = 0;
        EXPECT_FALSE(KV::CPluginCheck(options, report).Run());
        for (const QString& text : bad.mustSay)
            EXPECT_TRUE(FailureLines(report).contains(text))
                << "no failure says " << text.toStdString() << "; failures:\n"
                << FailureLines(report).toStdString();
        // A library that is not a plug-in of the host's interface never runs any of its code.
        if (!bad.runs) {
            EXPECT_FALSE(qEnvironmentVariableIsSet("KV_OTHER_INTERFACE_PLUGIN_RAN"));
            EXPECT_EQ(report.SummaryLine(), QStringLiteral("0 sessions, 0 events, 1 failures"));
        }
    }
}
