#pragma once

#include <cstdint>

namespace KV {

/// Where a run is, so that a crash inside the plug-in still tells which seed and event
/// reproduce it. Printed by a signal handler, by AddressSanitizer's death callback and before
/// a fatal Qt message.
class CCrashNote
{
public:
    /// Installs the handlers once; later calls do nothing.
    static void Install();
    /// `what` must outlive the note (a string literal).
    static void Enter(const char* what, bool hasSeed, std::uint32_t seed);
    static void SetEvent(int event);
    static void Leave();
    /// Writes the note to standard error with async-signal-safe calls only.
    static void Print();
};

} // namespace KV
