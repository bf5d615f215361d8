// The sandbox's command line, and the guided tour of --demo played through the window.

#include "SandboxTest.h"

#include "CDemoTour.h"
#include "CSandboxOptions.h"

#include <QImage>
#include <QSignalSpy>

namespace KV::test {

TEST(SandboxOptionsTest, CommandLinesAreReadOrRefusedWithAReasonAndQtKeepsItsOwnArguments)
{
    using EParse = CSandboxOptions::EParse;
    const struct
    {
        QStringList arguments;
        EParse outcome;
        const char* messagePart;
        bool quits; // a script's run quits once it has imported and saved; the tour by itself
    } cases[] = {
        {{}, EParse::Run, "", false},
        {{"--plugin", "/opt/p", "--demo", "--demo-step", "40", "--screenshot", "s.png"},
         EParse::Run,
         "",
         false},
        {{"--import", "walk.bvh", "--save-scene", "walk.json"}, EParse::Run, "", true},
        {{"--help"}, EParse::ShowHelp, "--plugin", false},
        {{"--demo", "--scene", "a.json"}, EParse::Error, "sample scene", false},
        {{"--demo", "--import", "walk.bvh"}, EParse::Error, "--import", false},
        {{"--demo", "--demo-step", "soon"}, EParse::Error, "'soon'", false},
        {{"--plugin"}, EParse::Error, "plugin", false},
        {{"--colour"}, EParse::Error, "colour", false},
        {{"scene.json"}, EParse::Error, "scene.json", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        CSandboxOptions options;
        QString message;
        EXPECT_EQ(
            CSandboxOptions::Parse(QStringList{"korvel-sandbox"} + c.arguments, options, message),
            c.outcome);
        EXPECT_TRUE(message.contains(QLatin1String(c.messagePart))) << message.toStdString();
        if (c.outcome == EParse::Run) {
            EXPECT_EQ(options.QuitsWhenStarted(), c.quits);
        }
        if (c.arguments.value(0) == QLatin1String("--plugin") && c.outcome == EParse::Run) {
            EXPECT_EQ(options.pluginPath, QStringLiteral("/opt/p"));
            EXPECT_TRUE(options.demo);
            EXPECT_EQ(options.demoStepMs, 40);
            EXPECT_EQ(options.screenshotPath, QStringLiteral("s.png"));
        }
        if (c.quits) {
            EXPECT_EQ(options.importPath, QStringLiteral("walk.bvh"));
            EXPECT_EQ(options.saveScenePath, QStringLiteral("walk.json"));
        }
    }

    // Qt reads "--plugin X" as its own "-plugin X" and would drop it from the arguments.
    const struct
    {
        std::vector<const char*> argv;
        QStringList taken;
        QStringList left;
    } own[] = {
        {{"korvel-sandbox", "-platform", "offscreen", "--plugin", "/p/lib.so", "--demo"},
         {"--plugin", "/p/lib.so"},
         {"korvel-sandbox", "-platform", "offscreen", "--demo"}},
        {{"korvel-sandbox", "--plugin=/p", "-plugin", "evdevtouch"},
         {"--plugin=/p"},
         {"korvel-sandbox", "-plugin", "evdevtouch"}},
        {{"korvel-sandbox", "--demo", "--plugin"}, {"--plugin"}, {"korvel-sandbox", "--demo"}},
    };
    for (const auto& c : own) {
        std::vector<char*> argv;
        for (const char* argument : c.argv)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.argv.size());
        EXPECT_EQ(CSandboxOptions::TakeOwnArguments(argc, argv.data()), c.taken);
        QStringList left;
        for (int i = 0; i < argc; ++i)
            left << QString::fromLocal8Bit(argv[i]);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

TEST_F(SandboxTest, DemoTourPlaysEveryStepSavesTheScreenshotAndLeavesTheSwordFree)
{
    OpenWindow();
    const QString screenshot = TempPath(QStringLiteral("tour.png"));
    auto* tour = new CDemoTour(&Window(), 0, screenshot);
    QSignalSpy finished(tour, &CDemoTour::Finished);
    tour->Start();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(finished[0][0].toInt(), 0) << tour->Log().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(tour->Log().contains(QStringLiteral("demo: finished")));
    EXPECT_EQ(QImage(screenshot).size(), Window().size() * Window().devicePixelRatioF());
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_EQ(Scene().Selection(), QVector<UB::CHandle*>{Node(QStringLiteral("Sword"))});
}

} // namespace KV::test
