#pragma once

#include "tools/zarn-sim/SimProtocol.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the keyboard keeps across power cycles, and so what the state file
// holds.  Each slot keeps its entry exactly as the host wrote it: one payload
// for a normal or continuous entry, every chunk of a macro; empty when unset.
struct SimMemory {
    std::array<std::vector<Payload>, kSimSlots> slots;
    std::array<std::uint8_t, kLightAreaSize> lights{};
    // The version text after a firmware download; empty while the keyboard
    // runs its factory firmware.
    std::string updatedVersion;

    friend bool operator==(const SimMemory&, const SimMemory&) = default;
};

// 103 press counters, key k at index k - 1.
using CounterArea = std::array<std::uint32_t, kSimKeysPerLayer>;
