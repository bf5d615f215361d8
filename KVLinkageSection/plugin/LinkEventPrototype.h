#pragma once

namespace KV {

class CBaseEvent;
class CLinkEvent;

/// The one default-constructed link event that the plug-in and the Linkage section test
/// incoming host events against. Built on first use.
const CLinkEvent& GetLinkEventPrototype();

/// Whether `event` is a link event or of a host class derived from one, by class name. A null
/// event is none.
bool IsLinkEvent(const CBaseEvent* event);

} // namespace KV
