#pragma once

#include "host/UBTypes.h"

#include <new>
#include <set>

namespace UB {

// The destroy watchers and the objects they watch keep each other in ordered sets of plain
// pointers. These two operations give the set changes the SDK's result codes.

/// Inserts `item`: 0, also when it was already there; kAllocationFailed when memory runs out
/// (the set is then unchanged).
template<typename T>
Result InsertPointer(std::set<T*>& set, T* item)
{
    try {
        set.insert(item);
    } catch (const std::bad_alloc&) {
        return kAllocationFailed;
    }
    return kOk;
}

/// Removes `item`: 0, or kNotCreated when it is not in the set.
template<typename T>
Result RemovePointer(std::set<T*>& set, T* item)
{
    return set.erase(item) == 0 ? kNotCreated : kOk;
}

} // namespace UB
