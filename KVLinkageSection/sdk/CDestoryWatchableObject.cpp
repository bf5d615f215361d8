#include "sdk/CDestoryWatchableObject.h"

#include "sdk/CDestroyWatcher.h"
#include "sdk/UBPointerSet.h"

namespace UB {

CDestoryWatchableObject::CDestoryWatchableObject() = default;

CDestoryWatchableObject::~CDestoryWatchableObject()
{
    m_destroying = true;
    for (CDestroyWatcher* watcher : m_watchers) {
        watcher->OnObjectDestroyed(this);
        // A watcher dying at the same time empties its own set; leave it alone.
        if (!watcher->IsDestroying())
            watcher->Unwatch(this);
    }
    m_watchers.clear();
}

void CDestoryWatchableObject::AddRef()
{
    m_refCount.fetch_add(1);
}

void CDestoryWatchableObject::Release()
{
    if (m_refCount.fetch_sub(1) == 1)
        delete this;
}

Result CDestoryWatchableObject::AddDestroyWatcher(CDestroyWatcher* watcher)
{
    if (m_destroying || watcher == nullptr)
        return kNothingDone;
    const bool wasListed = m_watchers.count(watcher) != 0;
    const Result result = InsertPointer(m_watchers, watcher);
    if (result.IsFailed() || watcher->IsDestroying())
        return result;
    // A half link would leave this object pointing at a watcher that never unlinks itself.
    const Result watched = watcher->Watch(this);
    if (watched.IsFailed() && !wasListed)
        m_watchers.erase(watcher);
    return watched;
}

Result CDestoryWatchableObject::RemoveDestroyWatcher(CDestroyWatcher* watcher)
{
    // While the destructor walks the set, it alone changes it.
    if (m_destroying)
        return kNothingDone;
    return RemovePointer(m_watchers, watcher);
}

} // namespace UB
