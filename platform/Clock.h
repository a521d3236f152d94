#pragma once

#include <cstdint>

// Blocks the calling thread for at least `milliseconds`.
void Sleep(unsigned milliseconds);

// A monotonic high-resolution counter, for measuring recorded delays.  Both
// fail (false) only for a null argument; the frequency never changes while
// the process runs.
bool QueryPerformanceCounter(std::int64_t* count);
bool QueryPerformanceFrequency(std::int64_t* frequency);
