// The guided tour of --demo, played through the window as korvel-sandbox plays it.

#include "SandboxTest.h"

#include "CDemoTour.h"

#include <QImage>
#include <QSignalSpy>

namespace KV::test {

using DemoTourTest = SandboxWithPluginTest;

TEST_F(DemoTourTest, TourPlaysEveryStepAndSavesTheScreenshot)
{
    OpenWindow();
    const QString screenshot = TempPath(QStringLiteral("tour.png"));
    auto* tour = new CDemoTour(&Window(), 0, screenshot);
    QSignalSpy finished(tour, &CDemoTour::Finished);
    tour->Start();
    ASSERT_TRUE(finished.wait(60000));

    EXPECT_EQ(finished[0][0].toInt(), 0) << tour->Log().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(tour->Log().contains(QStringLiteral("demo: finished")));
    const QImage picture(screenshot);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), Window().size() * Window().devicePixelRatioF());
    // The tour leaves the sword where it found it, free and selected.
    EXPECT_EQ(ParentName(QStringLiteral("Sword")), QString());
    EXPECT_EQ(Scene().Selection(), QVector<UB::CHandle*>{Node(QStringLiteral("Sword"))});
}

} // namespace KV::test
