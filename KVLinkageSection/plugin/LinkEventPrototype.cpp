#include "plugin/LinkEventPrototype.h"

#include "host/KVEvents.h"

namespace KV {

const CLinkEvent& GetLinkEventPrototype()
{
    static const CLinkEvent prototype;
    return prototype;
}

bool IsLinkEvent(const CBaseEvent* event)
{
    return event != nullptr && event->IsKindOf(&GetLinkEventPrototype());
}

} // namespace KV
