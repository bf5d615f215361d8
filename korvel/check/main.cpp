// korvel-plugincheck: loads a build of the Linkage plug-in the way the host does and hammers it
// with seeded random sessions, load and unload cycles and corrupted scene files.

#include "CCheckOptions.h"
#include "CCheckReport.h"
#include "CPluginCheck.h"

#include <QApplication>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // The checker needs no screen; a display is used only when the caller asks for one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTextStream out(stdout);
    QTextStream err(stderr);
    KV::CCheckOptions options;
    QString error;
    if (!KV::CCheckOptions::Parse(application.arguments().mid(1), &options, &error)) {
        err << "korvel-plugincheck: " << error << Qt::endl << KV::CCheckOptions::Usage();
        return 2;
    }
    KV::CCheckReport report(&out);
    const bool passed = KV::CPluginCheck(options, report).Run();
    out << report.SummaryLine() << Qt::endl;
    // A search field's clear button fades out with an animation that deletes itself only on a
    // tick after its field is gone; give it that tick so nothing is left behind at exit.
    QEventLoop settle;
    QTimer::singleShot(250, &settle, &QEventLoop::quit);
    settle.exec();
    return passed ? 0 : 1;
}
