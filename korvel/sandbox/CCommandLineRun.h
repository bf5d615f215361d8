#pragma once

#include "CSandboxOptions.h"

#include <QObject>

namespace KV {

class CSandboxWindow;

/// What the command line asks for once the window is up: import a file; then, for scripts,
/// save the scene and a picture of the window and quit. Everything it reports goes to
/// standard output or standard error as well, since nobody may be watching the window.
class CCommandLineRun : public QObject
{
    Q_OBJECT
public:
    CCommandLineRun(CSandboxWindow* window, const CSandboxOptions& options);

    /// Starts once the event loop runs.
    void Start();
    /// Saves a PNG picture of `window`; false, with the reason in `error`, when it cannot.
    static bool SaveScreenshot(QWidget* window, const QString& path, QString& error);

signals:
    /// The work is done and the sandbox should quit: 0 when every step worked, 1 otherwise.
    void Finished(int exitCode);

private:
    void Run();
    void Finish();

    CSandboxWindow* m_window;
    CSandboxOptions m_options;
    bool m_failed = false;
};

} // namespace KV
