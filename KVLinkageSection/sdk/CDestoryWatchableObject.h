#pragma once

#include "host/UBTypes.h"
#include "sdk/UBHandle.h"

#include <atomic>
#include <cstdint>
#include <set>

namespace UB {

class CDestroyWatcher;

/// A reference-counted handle that tells its destroy watchers when it dies.
///
/// The count starts at 0: only a Release that brings a count raised by AddRef back to 0
/// deletes the object, so an object nobody AddRefs lives as long as its owner keeps it.
/// Only the count is atomic; linking, unlinking and destruction of one object must not run
/// on two threads at once.
class CDestoryWatchableObject : public CHandle
{
public:
    CDestoryWatchableObject();
    ~CDestoryWatchableObject() override;
    CDestoryWatchableObject(const CDestoryWatchableObject&) = delete;
    CDestoryWatchableObject& operator=(const CDestoryWatchableObject&) = delete;

    void AddRef() override;
    void Release() override;

    /// Links `watcher` to this object so that it is told of the destruction. A destroying
    /// object and a null watcher give kNothingDone; a destroying watcher is listed here but
    /// does not list the object back. kAllocationFailed when memory runs out on either side;
    /// a new link is then not made at all.
    Result AddDestroyWatcher(CDestroyWatcher* watcher);
    /// Drops `watcher` from this object's set only: 0, or kNotCreated when it is not there;
    /// a destroying object leaves its set to its destructor (kNothingDone).
    Result RemoveDestroyWatcher(CDestroyWatcher* watcher);

    bool IsDestroying() const { return m_destroying; }
    const std::set<CDestroyWatcher*>& GetDestroyWatchers() const { return m_watchers; }
    std::int32_t GetRefCount() const { return m_refCount.load(); }

private:
    std::atomic<std::int32_t> m_refCount{0};
    bool m_destroying = false;
    std::set<CDestroyWatcher*> m_watchers;
};

} // namespace UB
