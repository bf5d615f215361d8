#pragma once

#include "KVSceneModel.h"

namespace KV {

/// The ordered record of the interface calls made on the scene, and the renderings of
/// argument values that do not need the scene (handles are named by the scene itself).
class CCallJournal
{
public:
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    void Append(const CJournalEntry& entry) { m_entries.append(entry); }
    const QVector<CJournalEntry>& Entries() const { return m_entries; }
    /// "call(args) -> result" per entry, only the named calls when `onlyCalls` is not empty.
    QStringList Lines(const QStringList& onlyCalls) const;
    void Clear() { m_entries.clear(); }

    static QString Flag(bool value);
    static QString Text(const QString& text);                // quoted
    static QString Transform(const TransformRecord& record); // "T(px,py,pz)"

private:
    bool m_enabled = true;
    QVector<CJournalEntry> m_entries;
};

} // namespace KV
