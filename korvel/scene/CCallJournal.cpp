#include "CCallJournal.h"

namespace KV {

QString CJournalEntry::ToString() const
{
    return QStringLiteral("%1(%2) -> %3")
        .arg(call, args.join(QStringLiteral(", ")), QString::number(result));
}

QStringList CCallJournal::Lines(const QStringList& onlyCalls) const
{
    QStringList lines;
    for (const CJournalEntry& entry : m_entries) {
        if (onlyCalls.isEmpty() || onlyCalls.contains(entry.call))
            lines.append(entry.ToString());
    }
    return lines;
}

QString CCallJournal::Flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString CCallJournal::Text(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString CCallJournal::Transform(const TransformRecord& record)
{
    return QStringLiteral("T(%1,%2,%3)")
        .arg(QString::number(record.position[0]), QString::number(record.position[1]),
             QString::number(record.position[2]));
}

} // namespace KV
