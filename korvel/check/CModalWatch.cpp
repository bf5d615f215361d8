#include "CModalWatch.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace KV {

CModalWatch::CModalWatch(std::function<void(QDialog*)> answer)
    : m_answer(std::move(answer))
{
    m_poll.setInterval(0);
    connect(&m_poll, &QTimer::timeout, this, &CModalWatch::Poll);
    m_poll.start();
}

bool CModalWatch::Run(const std::function<void()>& open, std::function<void(QDialog*)> answer)
{
    CModalWatch watch(std::move(answer));
    open();
    return watch.Answered();
}

void CModalWatch::Poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible())
        return;
    m_poll.stop();
    m_answered = true;
    const QPointer<QDialog> guard(dialog);
    m_answer(dialog);
    if (!guard.isNull() && guard->isVisible()) {
        m_leftOpen = true;
        guard->reject();
    }
}

} // namespace KV
