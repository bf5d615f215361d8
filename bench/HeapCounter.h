#pragma once

#include <cstddef>

// Counts the bytes the process holds on the heap, through every allocation of the process
// (Qt's included), so a suite can read the peak that one step reaches. Linking HeapCounter.cpp
// into a suite replaces malloc and its relatives with counting ones.

namespace HeapCounter {

/// Bytes held now.
long long Current();
/// Starts a new peak at the bytes held now.
void ResetPeak();
/// The most bytes held since the last ResetPeak.
long long Peak();

} // namespace HeapCounter
