#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

class QWidget;

namespace UB {
class CHandle;
}

namespace KV {

class CSandboxWindow;

/// The guided tour of --demo: on the sample scene, through the real widgets, it selects the
/// sword, picks the knight's right hand as its parent, refines the link to the hand's grip with
/// position and rotation aligned, undoes that, links the sword to the camera and unlinks it.
/// Each step says what it does in the viewport and on standard output; a step that cannot be
/// done ends the tour with exit code 1.
class CDemoTour : public QObject
{
    Q_OBJECT
public:
    /// `stepMs` is the pause between two steps; `screenshotPath`, when set, receives a PNG of
    /// the main window at the end.
    CDemoTour(CSandboxWindow* window, int stepMs, const QString& screenshotPath);

    void Start();
    /// What the tour reported, one line per step.
    const QStringList& Log() const { return m_log; }

signals:
    void Finished(int exitCode);

private:
    struct CStep
    {
        QString caption;
        /// Does the step; returns why it could not, or an empty text.
        std::function<QString()> run;
    };

    void AddSteps();
    void RunNext();
    void Finish(const QString& failure);
    void Say(const QString& line);

    // Acting through the window.
    QString ClickNode(const QString& name);
    QString ClickButton(QWidget* root, const QString& objectName);
    QString ClickTreeItem(const QString& text);
    QString ExpectParent(const QString& object, const QString& parent);
    UB::CHandle* Node(const QString& name) const;

    CSandboxWindow* m_window;
    QVector<CStep> m_steps;
    QTimer m_timer;
    int m_next = 0;
    int m_running = 0; // steps under way: more than one while a step waits in a dialog
    bool m_finished = false;
    QString m_screenshotPath;
    QStringList m_log;
};

} // namespace KV
