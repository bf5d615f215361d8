#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

class QTextStream;

namespace KV {

/// The findings of a check run: sessions and events counted, and every failure with what
/// reproduces it. Failures are also printed the moment they are found, since a long run may
/// be stopped before its summary.
class CCheckReport
{
public:
    struct CFailure
    {
        /// The check the failure belongs to: "plug-in", "session", "load cycle", "scene file".
        QString area;
        bool hasSeed = false;
        std::uint32_t seed = 0;
        /// 1-based event number within the session; 0 when the failure came before any event.
        int event = 0;
        QString text;

        QString ToString() const;
    };

    /// Failures go to `out` as they come; null prints nothing.
    explicit CCheckReport(QTextStream* out = nullptr);

    void CountSession() { ++m_sessions; }
    void CountEvents(int events) { m_events += events; }
    void Fail(const QString& area, const QString& text);
    void FailAt(const QString& area, std::uint32_t seed, int event, const QString& text);
    /// A line for the user that is not a failure.
    void Note(const QString& text);

    int Sessions() const { return m_sessions; }
    long long Events() const { return m_events; }
    int FailureCount() const { return m_failures.size(); }
    const QVector<CFailure>& Failures() const { return m_failures; }
    /// "N sessions, M events, F failures".
    QString SummaryLine() const;

private:
    void Add(const CFailure& failure);

    QTextStream* m_out;
    int m_sessions = 0;
    long long m_events = 0;
    QVector<CFailure> m_failures;
};

} // namespace KV
