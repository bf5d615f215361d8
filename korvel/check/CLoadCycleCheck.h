#pragma once

#include <QString>

#include <cstdint>

namespace KV {

class CCheckReport;

/// Creates a host window, loads, initialises, runs a short session, destroys, lets the
/// plug-in object and its resource file go, over and over. Every cycle must come back to the
/// widgets, actions, open files and threads of the first one, the heap may not grow beyond a
/// small allowance and, in runs of 100 cycles or more, not at all over the second half of the
/// cycles, and no layout of the plug-in may still be found in the resource system between
/// cycles. The last cycle's heap is the least measured over the last quarter of the cycles,
/// which a leak raises and a late release does not.
///
/// The allowance is for glibc's per-thread cache of freed blocks, which its heap figures
/// count as in use and which fills over the first few dozen cycles; with that cache off
/// (GLIBC_TUNABLES=glibc.malloc.tcache_count=0), as in the sanitizer build whose allocator
/// counts exactly, the heap is the same after every cycle.
class CLoadCycleCheck
{
public:
    /// Heap growth from the first to the last cycle that is not counted as a leak: the
    /// allocator's cache of freed blocks fills over the first few dozen cycles.
    static constexpr long long kHeapSlack = 256 * 1024;
    /// Heap growth allowed over the second half of the cycles, when that cache is full.
    static constexpr long long kLateHeapSlack = 16 * 1024;
    /// The cycle from which the cache is full: it takes about 7 KiB in each of the first
    /// cycles and less in every later one, under 1 KiB by cycle 50. With fewer than twice as
    /// many cycles the second half is not judged on its own.
    static constexpr int kSettledCycle = 50;

    CLoadCycleCheck(const QString& pluginFile, std::uint32_t seed, int cycles, int events);
    /// Returns whether the process came back to the state of the first cycle.
    bool Run(CCheckReport& report);

private:
    QString m_pluginFile;
    std::uint32_t m_seed;
    int m_cycles;
    int m_events;
};

} // namespace KV
