#include "CCommandLineRun.h"

#include "CFileMenu.h"
#include "CSandboxWindow.h"
#include "KVSceneModel.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace KV {

namespace {

// Time for the window to lay out and paint what the start-up brought before its picture.
constexpr int kSettleMs = 100;

void Say(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", qPrintable(line));
    std::fflush(stream);
}

} // namespace

CCommandLineRun::CCommandLineRun(CSandboxWindow* window, const CSandboxOptions& options)
    : QObject(window)
    , m_window(window)
    , m_options(options)
{}

void CCommandLineRun::Start()
{
    QTimer::singleShot(0, this, &CCommandLineRun::Run);
}

void CCommandLineRun::Run()
{
    if (!m_options.importPath.isEmpty()) {
        // A script gets the reason on standard error instead of a message box nobody sees.
        QString error;
        const bool quits = m_options.QuitsWhenStarted();
        if (m_window->FileMenu()->ImportFile(m_options.importPath, !quits, &error))
            Say(stdout, tr("imported %1").arg(QDir::toNativeSeparators(m_options.importPath)));
        else if (quits)
            Say(stderr, tr("korvel-sandbox: %1").arg(error));
        m_failed = !error.isEmpty();
    }
    if (m_options.QuitsWhenStarted())
        QTimer::singleShot(kSettleMs, this, &CCommandLineRun::Finish);
}

void CCommandLineRun::Finish()
{
    // A script whose file could not be imported gets no scene or picture that looks like one.
    if (m_failed) {
        emit Finished(1);
        return;
    }
    QString error;
    if (!m_options.saveScenePath.isEmpty()) {
        if (m_window->Scene()->SaveFile(m_options.saveScenePath, &error)) {
            Say(stdout, tr("saved %1").arg(QDir::toNativeSeparators(m_options.saveScenePath)));
        } else {
            Say(stderr, tr("korvel-sandbox: %1").arg(error));
            m_failed = true;
        }
    }
    if (!m_options.screenshotPath.isEmpty()) {
        if (SaveScreenshot(m_window, m_options.screenshotPath, error)) {
            Say(stdout, tr("screenshot saved to %1")
                            .arg(QDir::toNativeSeparators(
                                QFileInfo(m_options.screenshotPath).absoluteFilePath())));
        } else {
            Say(stderr, tr("korvel-sandbox: %1").arg(error));
            m_failed = true;
        }
    }
    emit Finished(m_failed ? 1 : 0);
}

bool CCommandLineRun::SaveScreenshot(QWidget* window, const QString& path, QString& error)
{
    if (window->grab().save(path, "PNG"))
        return true;
    error = tr("the screenshot could not be written to %1").arg(QDir::toNativeSeparators(path));
    return false;
}

} // namespace KV
