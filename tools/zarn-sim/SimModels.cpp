#include "tools/zarn-sim/SimModels.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kModels{
    SimModel{"ZarnRGB.BT", 0x5039, 1, "ZarnRGB.BT V1.05"},
    SimModel{"ZarnBT", 0x5139, 2, "ZarnBT V1.05"},
    SimModel{"Zarn", 0x5239, 3, "Zarn V1.05"},
    SimModel{"ZarnRGB", 0x5339, 4, "ZarnRGB V1.05"},
};

} // namespace

std::span<const SimModel> simModels() {
    return kModels;
}

const SimModel* findSimModel(std::string_view name) {
    const auto* it =
        std::find_if(kModels.begin(), kModels.end(), [&](const SimModel& m) { return m.name == name; });
    return it == kModels.end() ? nullptr : &*it;
}
