// The sandbox's command line where a script's run does not reach (that one imports headless),
// and the guided tour of --demo played through the window.

#include "SandboxTest.h"

#include "CDemoTour.h"
#include "CSandboxOptions.h"

#include <QImage>
#include <QSignalSpy>

namespace KV::test {

TEST(SandboxOptionsTest, CommandLinesThatCannotRunAreRefusedWithAReason)
{
    const std::pair<QStringList, const char*> refused[] = {
        {{"--demo", "--scene", "a.json"}, "sample scene"},
        {{"--demo", "--import", "walk.bvh"}, "--import"},
        {{"--demo", "--demo-step", "soon"}, "'soon'"},
        {{"--plugin"}, "plugin"},
        {{"--colour"}, "colour"},
        {{"scene.json"}, "scene.json"},
    };
    for (const auto& [arguments, reason] : refused) {
        CSandboxOptions options;
        QString message;
        EXPECT_EQ(
            CSandboxOptions::Parse(QStringList{"korvel-sandbox"} + arguments, options, message),
            CSandboxOptions::EParse::Error);
        EXPECT_TRUE(message.contains(QLatin1String(reason))) << message.toStdString();
    }
    // Qt reads "--plugin=X" as its own "-plugin" and would drop it from the arguments.
    const char* argv[] = {"korvel-sandbox", "--plugin=/p", "-plugin", "evdevtouch", nullptr};
    int argc = 4;
    EXPECT_EQ(CSandboxOptions::TakeOwnArguments(argc, const_cast<char**>(argv)),
              QStringList{"--plugin=/p"});
    EXPECT_EQ(QStringList({argv[0], argv[1], argv[2]}),
              (QStringList{"korvel-sandbox", "-plugin", "evdevtouch"}));
    EXPECT_EQ(argc, 3);
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
