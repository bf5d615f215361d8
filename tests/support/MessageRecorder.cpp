#include "MessageRecorder.h"

namespace {

CMessageRecorder* g_recorder = nullptr;

} // namespace

CMessageRecorder::CMessageRecorder()
{
    g_recorder = this;
    m_previous = qInstallMessageHandler(&CMessageRecorder::Record);
}

CMessageRecorder::~CMessageRecorder()
{
    qInstallMessageHandler(m_previous);
    g_recorder = nullptr;
}

QStringList CMessageRecorder::GetWarningsWith(const QString& text) const
{
    return m_warnings.filter(text);
}

void CMessageRecorder::Record(QtMsgType type, const QMessageLogContext& context,
                              const QString& text)
{
    if (g_recorder == nullptr)
        return;
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        g_recorder->m_warnings.append(text);
        return;
    }
    if (g_recorder->m_previous != nullptr)
        g_recorder->m_previous(type, context, text);
}
