#include "tools/zarn-sim/CounterPresets.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace {

struct KeyCount {
    int key;
    std::uint32_t count;
};

// Keys whose counts make the demo read like real use; every other key gets a
// middling count from `fillerCount`, so the extremes stay unique.
constexpr std::array kDemoCounts{
    KeyCount{70, 48213}, // Space
    KeyCount{31, 23117}, // E
    KeyCount{33, 17342}, // T
    KeyCount{43, 15020}, // A
    KeyCount{37, 14127}, // O
    KeyCount{27, 12904}, // BackSpace
    KeyCount{54, 9088},  // Enter
    KeyCount{55, 7311},  // Shift
    KeyCount{1, 1402},   // Esc
    KeyCount{89, 12},    // Pause
    KeyCount{81, 9},     // PrtScreen
    KeyCount{85, 3},     // ScrollLock
};

std::uint32_t fillerCount(int key) {
    return 200 + static_cast<std::uint32_t>(key * 7919 % 3001);
}

void applyDemo(CounterArea& counters) {
    for (int key = 1; key <= kSimKeysPerLayer; ++key) {
        counters[key - 1] = fillerCount(key);
    }
    for (const auto& [key, count] : kDemoCounts) {
        counters[key - 1] = count;
    }
}

template <typename T>
bool parseNumber(std::string_view text, T* value) {
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc{} && ptr == end && !text.empty();
}

bool applyItem(std::string_view item, CounterArea& counters, std::string* error) {
    if (item == "demo") {
        applyDemo(counters);
        return true;
    }
    if (item == "zero") {
        counters.fill(0);
        return true;
    }
    const auto equals = item.find('=');
    int key = 0;
    std::uint32_t count = 0;
    if (equals == std::string_view::npos || !parseNumber(item.substr(0, equals), &key) ||
        !parseNumber(item.substr(equals + 1), &count) || key < 1 || key > kSimKeysPerLayer) {
        *error =
            "bad counter item \"" + std::string(item) + "\" (expected demo, zero or KEY=COUNT, KEY 1..103)";
        return false;
    }
    counters[key - 1] = count;
    return true;
}

} // namespace

bool parseCounterPreset(std::string_view text, CounterArea* counters, std::string* error) {
    CounterArea result{};
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const auto end = comma == std::string_view::npos ? text.size() : comma;
        if (!applyItem(text.substr(start, end - start), result, error)) {
            return false;
        }
        start = end + 1;
    }
    *counters = result;
    return true;
}
