// Plug-in files the host cannot start: each is turned away with a message that says what is
// wrong with it, and nothing crashes.

#include "CPluginCheck.h"
#include "CheckTestSupport.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

struct CBadPlugin
{
    const char* what;
    /// Makes the file in `folder` and returns its path.
    std::function<QString(const QDir& folder)> make;
    QStringList mustSay;
};

QString CopyBuiltPlugin(const QDir& folder)
{
    const QString copy = folder.filePath(QFileInfo(QStringLiteral(KV_PLUGIN_FILE)).fileName());
    QFile::copy(QStringLiteral(KV_PLUGIN_FILE), copy);
    return copy;
}

} // namespace

TEST(BadPluginFiles, EachIsTurnedAwayWithAMessageThatSaysWhatIsWrong)
{
    const CBadPlugin cases[] = {
        {"a missing file",
         [](const QDir& folder) { return folder.filePath(QStringLiteral("libGone.so")); },
         {QStringLiteral("libGone.so did not load: The shared library was not found.")}},
        {"a text file named like a library",
         [](const QDir& folder) {
             const QString path = folder.filePath(QStringLiteral("libText.so"));
             QFile file(path);
             file.open(QIODevice::WriteOnly);
             file.write("not a library at all\n");
             return path;
         },
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
          QStringLiteral("Initialize refused to start")}},
        {"the plug-in with a resource file that is not one",
         [](const QDir& folder) {
             QFile rcc(folder.filePath(QStringLiteral("KVLinkageSection.rcc")));
             rcc.open(QIODevice::WriteOnly);
             rcc.write(QByteArray(4096, 'x'));
             return CopyBuiltPlugin(folder);
         },
         {QStringLiteral("Initialize returned 0x")}},
    };
    for (const CBadPlugin& bad : cases) {
        SCOPED_TRACE(bad.what);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = bad.make(QDir(folder.path()));
        KV::CCheckReport report;

        const bool passed = KV::CPluginCheck(QuickOptions(path), report).Run();

        EXPECT_FALSE(passed);
        EXPECT_GE(report.FailureCount(), 1);
        for (const QString& text : bad.mustSay)
            EXPECT_TRUE(HasFailureContaining(report, text))
                << "no failure says " << text.toStdString() << "; failures:\n"
                << FailureLines(report).toStdString();
    }
}

TEST(BadPluginFiles, APlugInOfAnotherInterfaceNeverRuns)
{
    // Its metadata is read from the file; its plug-in object must never be made.
    qunsetenv("KV_OTHER_INTERFACE_PLUGIN_RAN");
    KV::CCheckReport report;
    KV::CPluginCheck(QuickOptions(QStringLiteral(KV_OTHER_INTERFACE_PLUGIN)), report).Run();

    EXPECT_FALSE(qEnvironmentVariableIsSet("KV_OTHER_INTERFACE_PLUGIN_RAN"));
    EXPECT_EQ(report.Sessions(), 0);
    EXPECT_EQ(report.SummaryLine(), QStringLiteral("0 sessions, 0 events, 1 failures"));
}
