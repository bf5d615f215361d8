#pragma once

#include <QDialog>
#include <QObject>
#include <QTimer>

#include <functional>

namespace KV {

/// Hands the next modal dialog to an answer from inside the dialog's own event loop, for code
/// that opens one with exec() and returns only when it closes. It watches while it lives,
/// until it has answered once. A dialog the answer leaves open is rejected, so that exec()
/// returns and nobody waits on it for ever.
class CModalWatch : public QObject
{
public:
    explicit CModalWatch(std::function<void(QDialog*)> answer);

    /// Runs `open`, which opens a modal dialog, with a watch that answers it: whether a
    /// dialog opened.
    static bool Run(const std::function<void()>& open, std::function<void(QDialog*)> answer);

    bool Answered() const { return m_answered; }
    /// Whether the answer left the dialog open, so that the watch rejected it.
    bool LeftOpen() const { return m_leftOpen; }

private:
    void Poll();

    std::function<void(QDialog*)> m_answer;
    QTimer m_poll;
    bool m_answered = false;
    bool m_leftOpen = false;
};

} // namespace KV
