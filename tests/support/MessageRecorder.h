#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

/// Collects the warnings and critical messages Qt's message handler sees while it lives, and
/// lets every other message through to the handler it replaced.
class CMessageRecorder
{
public:
    CMessageRecorder();
    ~CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    const QStringList& GetWarnings() const { return m_warnings; }
    /// The warnings that contain `text`.
    QStringList GetWarningsWith(const QString& text) const;

private:
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QStringList m_warnings;
    QtMessageHandler m_previous = nullptr;
};
