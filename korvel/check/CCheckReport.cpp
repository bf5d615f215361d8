#include "CCheckReport.h"

#include <QTextStream>

namespace KV {

QString CCheckReport::CFailure::ToString() const
{
    if (!hasSeed)
        return QStringLiteral("FAIL [%1] %2").arg(area, text);
    return QStringLiteral("FAIL [%1] seed %2, event %3: %4")
        .arg(area)
        .arg(seed)
        .arg(event)
        .arg(text);
}

CCheckReport::CCheckReport(QTextStream* out)
    : m_out(out)
{}

void CCheckReport::Fail(const QString& area, const QString& text)
{
    CFailure failure;
    failure.area = area;
    failure.text = text;
    Add(failure);
}

void CCheckReport::FailAt(const QString& area, std::uint32_t seed, int event, const QString& text)
{
    CFailure failure;
    failure.area = area;
    failure.hasSeed = true;
    failure.seed = seed;
    failure.event = event;
    failure.text = text;
    Add(failure);
}

void CCheckReport::Note(const QString& text)
{
    if (m_out != nullptr)
        *m_out << text << Qt::endl;
}

QString CCheckReport::SummaryLine() const
{
    return QStringLiteral("%1 sessions, %2 events, %3 failures")
        .arg(m_sessions)
        .arg(m_events)
        .arg(m_failures.size());
}

void CCheckReport::Add(const CFailure& failure)
{
    m_failures.append(failure);
    if (m_out != nullptr)
        *m_out << failure.ToString() << Qt::endl;
}

} // namespace KV
