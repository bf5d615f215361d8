#include "sdk/CDestroyWatcher.h"

#include "sdk/CDestoryWatchableObject.h"
#include "sdk/UBPointerSet.h"

namespace UB {

CDestroyWatcher::CDestroyWatcher() = default;

CDestroyWatcher::~CDestroyWatcher()
{
    BeginDestruction();
}

void CDestroyWatcher::BeginDestruction()
{
    m_destroying = true;
    for (CDestoryWatchableObject* object : m_watched) {
        if (!object->IsDestroying())
            object->RemoveDestroyWatcher(this);
    }
    m_watched.clear();
}

Result CDestroyWatcher::Watch(CDestoryWatchableObject* object)
{
    if (m_destroying || object == nullptr)
        return kNothingDone;
    return InsertPointer(m_watched, object);
}

Result CDestroyWatcher::Unwatch(CDestoryWatchableObject* object)
{
    if (m_destroying)
        return kNothingDone;
    return RemovePointer(m_watched, object);
}

} // namespace UB
