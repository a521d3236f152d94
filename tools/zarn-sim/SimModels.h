#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// One keyboard model the simulator can play: its USB product id, its
// ModelType (which chooses its factory assignment) and the version text its
// firmware reports out of the box.
struct SimModel {
    std::string_view name;
    std::uint16_t productId;
    int modelType;
    std::string_view factoryVersion;
};

inline constexpr std::uint16_t kSimVendorId = 0x0483;

std::span<const SimModel> simModels();

// Null for a name that is not one of the models (names are case-sensitive,
// as the program's model names are).
const SimModel* findSimModel(std::string_view name);
