#include "CMessageWatch.h"

#include "CCrashNote.h"

namespace KV {

CMessageWatch* CMessageWatch::s_innermost = nullptr;

CMessageWatch::CMessageWatch()
    : m_outer(s_innermost)
    , m_previousHandler(qInstallMessageHandler(&CMessageWatch::Handle))
{
    s_innermost = this;
}

CMessageWatch::~CMessageWatch()
{
    s_innermost = m_outer;
    qInstallMessageHandler(m_previousHandler);
}

void CMessageWatch::Allow(const QRegularExpression& pattern)
{
    m_allowed.append(pattern);
}

QStringList CMessageWatch::TakeUnexpected()
{
    QStringList taken;
    taken.swap(m_unexpected);
    return taken;
}

QStringList CMessageWatch::TakeAll()
{
    QStringList taken;
    taken.swap(m_all);
    return taken;
}

void CMessageWatch::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (s_innermost != nullptr)
        s_innermost->Record(type, context, text);
}

void CMessageWatch::Record(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    if (type == QtFatalMsg) {
        CCrashNote::Print();
        m_previousHandler(type, context, text);
        return;
    }
    const char* kind = type == QtWarningMsg ? "warning" : "critical";
    const QString line = QStringLiteral("%1: %2").arg(QLatin1String(kind), text);
    m_all.append(line);
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    // The offscreen platform plug-in reports what it cannot do for a window in its own words.
    if (category.startsWith(QLatin1String("qt.qpa.")) ||
        text.startsWith(QLatin1String("This plugin does not support")))
        return;
    for (const QRegularExpression& pattern : m_allowed) {
        if (pattern.match(text).hasMatch())
            return;
    }
    m_unexpected.append(line);
}

} // namespace KV
