#pragma once

#include "tools/zarn-sim/SimMemory.h"

#include <string>
#include <string_view>

// The counters a simulated keyboard reports.  `text` is a comma-separated
// list applied in order to an all-zero area: a preset name ("demo": a day of
// typing with one clear most-used key, Space, and one least-used key,
// ScrollLock; "zero": all zero) or KEY=COUNT with KEY 1..103.
// "demo,70=5" is the demo with Space nearly unused.
bool parseCounterPreset(std::string_view text, CounterArea* counters, std::string* error);

inline constexpr const char* kDefaultCounterPreset = "demo";
