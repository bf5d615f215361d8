#pragma once

#include "host/UBTypes.h"

#include <set>

namespace UB {

class CDestoryWatchableObject;

/// A party told when a watched object is destroyed. A link is complete when the object lists
/// the watcher and the watcher lists the object; whichever dies first undoes the link, so
/// neither is ever told about, or touches, the other after that.
///
/// Virtual slot order is the host's binary contract: destructor, OnObjectDestroyed, Watch,
/// Unwatch.
class CDestroyWatcher
{
public:
    CDestroyWatcher();
    virtual ~CDestroyWatcher();
    CDestroyWatcher(const CDestroyWatcher&) = delete;
    CDestroyWatcher& operator=(const CDestroyWatcher&) = delete;

    /// Called while `object` is being destroyed; it must not be kept.
    virtual void OnObjectDestroyed(CDestoryWatchableObject* object) = 0;
    /// Adds `object` to the watched set (0, or kAllocationFailed when memory runs out). The
    /// object's own set is not touched: link through AddDestroyWatcher. A destroying watcher
    /// ignores the call, and a null object is not added (kNothingDone).
    virtual Result Watch(CDestoryWatchableObject* object);
    /// Removes `object` from the watched set (0, or kNotCreated when it is not there). A
    /// destroying watcher ignores the call (kNothingDone).
    virtual Result Unwatch(CDestoryWatchableObject* object);

    bool IsDestroying() const { return m_destroying; }
    const std::set<CDestoryWatchableObject*>& GetWatchedObjects() const { return m_watched; }

protected:
    /// Marks the watcher destroying and undoes its links with the objects that are not being
    /// destroyed themselves. The destructor does this; a derived watcher that releases
    /// watched objects in its own destructor calls it first, so that they cannot reach its
    /// half-destroyed state. Calling it again does nothing.
    void BeginDestruction();

private:
    std::set<CDestoryWatchableObject*> m_watched;
    bool m_destroying = false;
};

} // namespace UB
