#include "Journal.h"

#include "KVSceneModel.h"

QStringList JournalCalls(const KV::CSceneModel& scene, const QStringList& calls)
{
    QStringList names;
    for (const KV::CJournalEntry& entry : scene.Journal()) {
        if (calls.isEmpty() || calls.contains(entry.call))
            names << entry.call;
    }
    return names;
}
