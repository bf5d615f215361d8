#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

namespace KV {

/// Catches Qt's warning, critical and fatal messages while it lives. The plug-in is allowed
/// none of its own; a watch lists the few that a check expects (the framework's report of a
/// missing resource file, say) and everything else counts as unexpected. Messages of the
/// platform plug-in (category "qt.qpa.*", and the offscreen plug-in's "This plugin does not
/// support ...") are the platform's, never the plug-in's, and are always allowed. Watches
/// nest; the innermost one gets the messages.
class CMessageWatch
{
public:
    CMessageWatch();
    ~CMessageWatch();
    CMessageWatch(const CMessageWatch&) = delete;
    CMessageWatch& operator=(const CMessageWatch&) = delete;

    /// Messages matching `pattern` are expected from now on.
    void Allow(const QRegularExpression& pattern);
    /// Unexpected messages since the last call, as "warning: text" lines.
    QStringList TakeUnexpected();
    /// Every warning, critical or fatal message since the last call, expected or not.
    QStringList TakeAll();

private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    void Record(QtMsgType type, const QMessageLogContext& context, const QString& text);

    static CMessageWatch* s_innermost;
    CMessageWatch* m_outer;
    QtMessageHandler m_previousHandler;
    QVector<QRegularExpression> m_allowed;
    QStringList m_unexpected;
    QStringList m_all;
};

} // namespace KV
