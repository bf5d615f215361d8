// The sandbox's command line.

#include "CSandboxOptions.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace KV::test {

TEST(SandboxOptionsTest, CommandLinesAreReadOrRefusedWithAReason)
{
    struct CCase
    {
        QStringList arguments;
        CSandboxOptions::EParse outcome;
        const char* messagePart;
    };
    const CCase cases[] = {
        {{}, CSandboxOptions::EParse::Run, ""},
        {{"--plugin", "/opt/p/libKVLinkageSection.so", "--settings", "/tmp/s.ini"},
         CSandboxOptions::EParse::Run,
         ""},
        {{"--demo", "--screenshot", "shot.png", "--demo-step", "0"},
         CSandboxOptions::EParse::Run,
         ""},
        {{"--help"}, CSandboxOptions::EParse::ShowHelp, "--plugin"},
        {{"--import", "walk.bvh", "--save-scene", "walk.json", "--screenshot", "walk.png"},
         CSandboxOptions::EParse::Run,
         ""},
        {{"--demo", "--scene", "a.json"}, CSandboxOptions::EParse::Error, "sample scene"},
        {{"--demo", "--import", "walk.bvh"}, CSandboxOptions::EParse::Error, "--import"},
        {{"--demo", "--demo-step", "soon"}, CSandboxOptions::EParse::Error, "'soon'"},
        {{"--plugin"}, CSandboxOptions::EParse::Error, "plugin"},
        {{"--colour"}, CSandboxOptions::EParse::Error, "colour"},
        {{"scene.json"}, CSandboxOptions::EParse::Error, "scene.json"},
    };
    for (const CCase& c : cases) {
        const QStringList arguments = QStringList{QStringLiteral("korvel-sandbox")} + c.arguments;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        CSandboxOptions options;
        QString message;
        EXPECT_EQ(CSandboxOptions::Parse(arguments, options, message), c.outcome);
        EXPECT_TRUE(message.contains(QLatin1String(c.messagePart))) << message.toStdString();
    }

    CSandboxOptions options;
    QString message;
    ASSERT_EQ(CSandboxOptions::Parse({QStringLiteral("korvel-sandbox"), QStringLiteral("--plugin"),
                                      QStringLiteral("/opt/p"), QStringLiteral("--demo"),
                                      QStringLiteral("--demo-step"), QStringLiteral("40"),
                                      QStringLiteral("--screenshot"), QStringLiteral("s.png")},
                                     options, message),
              CSandboxOptions::EParse::Run);
    EXPECT_EQ(options.pluginPath, QStringLiteral("/opt/p"));
    EXPECT_TRUE(options.demo);
    EXPECT_EQ(options.demoStepMs, 40);
    EXPECT_EQ(options.screenshotPath, QStringLiteral("s.png"));
    EXPECT_FALSE(options.QuitsWhenStarted()) << "the tour quits by itself";

    // A script's run quits once it has imported and saved.
    CSandboxOptions scripted;
    ASSERT_EQ(CSandboxOptions::Parse({QStringLiteral("korvel-sandbox"), QStringLiteral("--import"),
                                      QStringLiteral("walk.bvh"), QStringLiteral("--save-scene"),
                                      QStringLiteral("walk.json")},
                                     scripted, message),
              CSandboxOptions::EParse::Run);
    EXPECT_EQ(scripted.importPath, QStringLiteral("walk.bvh"));
    EXPECT_EQ(scripted.saveScenePath, QStringLiteral("walk.json"));
    EXPECT_TRUE(scripted.QuitsWhenStarted());
}

} // namespace KV::test

namespace KV::test {

TEST(SandboxOptionsTest, PluginArgumentsAreTakenAwayFromQtBeforeItReadsItsOwn)
{
    // Qt reads "--plugin X" as its own "-plugin X" and would drop it from the arguments.
    struct CCase
    {
        std::vector<const char*> argv;
        QStringList taken;
        QStringList left;
    };
    const CCase cases[] = {
        {{"korvel-sandbox", "-platform", "offscreen", "--plugin", "/p/lib.so", "--demo"},
         {"--plugin", "/p/lib.so"},
         {"korvel-sandbox", "-platform", "offscreen", "--demo"}},
        {{"korvel-sandbox", "--plugin=/p", "-plugin", "evdevtouch"},
         {"--plugin=/p"},
         {"korvel-sandbox", "-plugin", "evdevtouch"}},
        {{"korvel-sandbox", "--demo", "--plugin"}, {"--plugin"}, {"korvel-sandbox", "--demo"}},
    };
    for (const CCase& c : cases) {
        std::vector<char*> argv;
        for (const char* argument : c.argv)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.argv.size());
        const QStringList taken = CSandboxOptions::TakeOwnArguments(argc, argv.data());
        QStringList left;
        for (int i = 0; i < argc; ++i)
            left << QString::fromLocal8Bit(argv[i]);
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

} // namespace KV::test
