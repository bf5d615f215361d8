#include "CCommandLineRun.h"
#include "CDemoTour.h"
#include "CHostApplication.h"
#include "CPluginHost.h"
#include "CSandboxOptions.h"
#include "CSandboxWindow.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QString message;
    if (!KV::CSandboxOptions::ChoosePlatform(argc, argv, message)) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    const QStringList ownArguments = KV::CSandboxOptions::TakeOwnArguments(argc, argv);
    KV::CHostApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationName(QStringLiteral("korvel-sandbox"));

    KV::CSandboxOptions options;
    switch (
        KV::CSandboxOptions::Parse(QApplication::arguments() + ownArguments, options, message)) {
    case KV::CSandboxOptions::EParse::ShowHelp:
        std::fprintf(stdout, "%s", qPrintable(message));
        return 0;
    case KV::CSandboxOptions::EParse::Error:
        std::fprintf(stderr, "korvel-sandbox: %s\n", qPrintable(message));
        return 2;
    case KV::CSandboxOptions::EParse::Run:
        break;
    }

    KV::CSandboxWindow window(options);
    if (options.checkPlugins) {
        // Every report has gone to standard error already; this says what runs.
        const QStringList started = window.Plugins()->LoadedFiles();
        for (const QString& file : started)
            std::fprintf(stdout, "started: %s\n", qPrintable(file));
        const bool allStarted =
            !started.isEmpty() && started.size() == window.Plugins()->TriedCount();
        return allStarted ? 0 : 1;
    }
    window.show();
    if (options.demo) {
        const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen") ||
                              QGuiApplication::platformName() == QLatin1String("minimal");
        const int stepMs = options.demoStepMs >= 0 ? options.demoStepMs : (headless ? 150 : 1600);
        auto* tour = new KV::CDemoTour(&window, stepMs, options.screenshotPath);
        QObject::connect(tour, &KV::CDemoTour::Finished, &app, &QApplication::exit);
        tour->Start();
    } else {
        auto* run = new KV::CCommandLineRun(&window, options);
        QObject::connect(run, &KV::CCommandLineRun::Finished, &app, &QApplication::exit);
        run->Start();
    }
    return QApplication::exec();
}
