#include "model/DeviceBridge.h"

#include "model/ConfigDocument.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

// KeyConfigArray kinds.
constexpr int kKindNormal = 0;
constexpr int kKindContinuous = 1;
constexpr int kKindMacro = 2;

// The keyboard stores a left double click as two 0x82 codes in a normal entry.
constexpr int kDoubleClickCode = 199;
constexpr int kDoubleClickHalf = 0x82;

// Defaults of the lists a read creates; they match what the key settings
// dialog gives a new combo, emulation or macro.
constexpr int kComboRows = 6;
constexpr int kMacroRows = 9;

std::size_t slotOf(int layer, int key) {
    return static_cast<std::size_t>(2 * key + layer);
}

void appendLines(const ConfigDocument& doc, const RecordList& list, std::vector<int>& config) {
    for (const std::string& line : list.items) {
        config.push_back(doc.ParseRecordLine(line));
    }
}

std::vector<int> comboConfig(const ConfigDocument& doc, const RecordList& list) {
    std::vector<int> config{kKindNormal, list.count()};
    appendLines(doc, list, config);
    return config;
}

std::vector<int> emulationConfig(const ConfigDocument& doc, const RecordList& list) {
    std::vector<int> config{kKindContinuous, list.delay, list.count()};
    appendLines(doc, list, config);
    return config;
}

std::vector<int> macroConfig(const ConfigDocument& doc, const RecordList& list) {
    const bool recordedDelays = !list.isAutoInterval;
    const int actions = recordedDelays ? (list.count() + 1) / 2 : list.count();
    std::vector<int> config{kKindMacro,
                            list.playMode,
                            list.playMode == 0 ? list.cycles : 0,
                            recordedDelays ? 1 : 0,
                            recordedDelays ? 0 : list.delay,
                            actions};
    appendLines(doc, list, config);
    // A recorded list that ends in a key line has no delay after its last
    // action; the keyboard never waits after the last one, so 0 is sent.
    if (recordedDelays && list.count() % 2 == 1) {
        config.push_back(0);
    }
    return config;
}

std::vector<int> singleCodeConfig(int code) {
    if (code == kDoubleClickCode) {
        return {kKindNormal, 2, kDoubleClickHalf, kDoubleClickHalf};
    }
    return {kKindNormal, 1, code};
}

// The KeyConfigArray of one slot, or nothing for a slot without assignment.
std::optional<std::vector<int>> slotConfig(const ConfigDocument& doc, std::size_t slot) {
    const int mode = doc.keyMode[slot];
    const RecordList& list = doc.keyLists[slot];
    switch (mode) {
    case kTypeCombo:
        return comboConfig(doc, list);
    case kTypeMacro:
        return macroConfig(doc, list);
    case kTypeEmulation:
        return emulationConfig(doc, list);
    default:
        if (mode <= kTypeNotSet) {
            return std::nullopt;
        }
        return singleCodeConfig(doc.keyCode[slot]);
    }
}

// What one slot becomes after a read; fields left empty keep their value.
struct SlotReading {
    int mode = kTypeNotSet;
    std::optional<int> code;
    std::optional<RecordList> list;
};

int singleCodeType(int code) {
    int type = kTypeSingle;
    if (code >= 108 && code <= 125) {
        type = kTypeMultimedia;
    } else if (code >= 126 && code <= 134) {
        type = kTypeMouse;
    } else if (code >= 135 && code <= 198) {
        type = kTypeFunction;
    } else if (code >= 75 && code <= 77) {
        type = kTypePower;
    }
    if (code == 157 || code == 158 || code == 173) {
        type = kTypeMouse;
    }
    return type;
}

RecordList newList(int rows) {
    RecordList list;
    list.sizeOfView = rows;
    return list;
}

// Number of elements the array can hold from `first` on, so a count the
// library reports can never lead past the array.
int boundedCount(int count, std::size_t first, std::size_t perElement, std::size_t capacity) {
    if (count <= 0 || first >= capacity) {
        return 0;
    }
    const std::size_t room = (capacity - first) / perElement;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(count), room));
}

SlotReading readNormal(const ConfigDocument& doc, const std::vector<int>& config) {
    const int count = boundedCount(config[1], 2, 1, config.size());
    if (count == 0) {
        return {};
    }
    if (count == 1) {
        return {singleCodeType(config[2]), config[2], std::nullopt};
    }
    if (count == 2 && config[2] == kDoubleClickHalf && config[3] == kDoubleClickHalf) {
        return {kTypeMouse, kDoubleClickCode, std::nullopt};
    }
    RecordList list = newList(kComboRows);
    for (int i = 0; i < count; ++i) {
        list.items.push_back(doc.DeviceCodeName(config[2 + static_cast<std::size_t>(i)]));
    }
    list.children.resize(list.items.size());
    return {kTypeCombo, std::nullopt, std::move(list)};
}

SlotReading readContinuous(const ConfigDocument& doc, const std::vector<int>& config) {
    const int count = boundedCount(config[2], 3, 1, config.size());
    if (count == 0) {
        return {};
    }
    RecordList list = newList(kMacroRows);
    list.delay = config[1];
    for (int i = 0; i < count; ++i) {
        list.items.push_back(doc.DeviceCodeName(config[3 + static_cast<std::size_t>(i)]));
    }
    list.children.resize(list.items.size());
    return {kTypeEmulation, std::nullopt, std::move(list)};
}

SlotReading readMacro(const ConfigDocument& doc, const std::vector<int>& config) {
    const bool recordedDelays = config[3] != 0;
    const int count = boundedCount(config[5], 6, recordedDelays ? 2 : 1, config.size());
    if (count == 0) {
        return {};
    }
    RecordList list = newList(kMacroRows);
    list.playMode = config[1];
    list.cycles = config[2];
    list.isAutoInterval = !recordedDelays;
    list.delay = config[4];
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!recordedDelays) {
            list.items.push_back(doc.DeviceCodeName(config[6 + at]));
            continue;
        }
        if (i > 0) {
            char delayLine[32];
            std::snprintf(delayLine, sizeof delayLine, "<%d ms>", config[7 + 2 * (at - 1)]);
            list.items.emplace_back(delayLine);
        }
        list.items.push_back(doc.DeviceCodeName(config[6 + 2 * at]));
    }
    list.children.resize(list.items.size());
    return {kTypeMacro, std::nullopt, std::move(list)};
}

SlotReading readSlot(const ConfigDocument& doc, const std::vector<int>& config) {
    switch (config[0]) {
    case kKindNormal:
        return readNormal(doc, config);
    case kKindContinuous:
        return readContinuous(doc, config);
    case kKindMacro:
        return readMacro(doc, config);
    default:
        return {};
    }
}

void applyReading(ConfigDocument& doc, std::size_t slot, SlotReading reading) {
    doc.keyMode[slot] = reading.mode;
    if (reading.code) {
        doc.keyCode[slot] = *reading.code;
    }
    if (reading.list) {
        doc.keyLists[slot] = std::move(*reading.list);
    }
}

} // namespace

std::vector<int> KeyDefinition(const ConfigDocument& doc, int layer, int key) {
    if (key < 1 || key > kKeyCount || layer < 0 || layer > 1) {
        return {};
    }
    auto config = slotConfig(doc, slotOf(layer, key));
    if (!config) {
        return {};
    }
    std::vector<int>& elements = *config;
    switch (elements[0]) {
    case kKindNormal:
        return elements[1] > 0 ? elements : std::vector<int>{};
    case kKindContinuous:
        return elements[2] > 0 ? elements : std::vector<int>{};
    default:
        if (elements[5] <= 0) {
            return {};
        }
        if (elements[3] == 1) {
            elements.pop_back();
        }
        return elements;
    }
}

bool WriteKeysToDevice(ConfigDocument& doc, const WindowHandle& window) {
    if (!doc.device.prepare()) {
        return false;
    }
    for (int layer = 0; layer <= 1; ++layer) {
        for (int key = 1; key <= kKeyCount; ++key) {
            const auto config = slotConfig(doc, slotOf(layer, key));
            // A definition the library refuses (longer than a record holds, a
            // play mode it does not know) would go out as an empty key while
            // the write reports success: nothing is sent instead.
            if (config && !doc.device.setKeyConfiguration(layer, key, config->data(),
                                                          static_cast<int>(config->size()))) {
                return false;
            }
        }
    }
    return doc.device.writeKeyConfigurationToDev(window);
}

bool ReadKeysFromDevice(ConfigDocument& doc, const WindowHandle& window) {
    if (!doc.device.readKeyDefinationFromDev(window)) {
        return false;
    }
    // Everything is converted first and applied only when every slot could
    // be read, so a failure never leaves half a table in the document.
    std::vector<SlotReading> readings;
    readings.reserve(2 * kKeyCount);
    std::vector<int> config(kKeyConfigArrayLength);
    for (int layer = 0; layer <= 1; ++layer) {
        for (int key = 1; key <= kKeyCount; ++key) {
            // The library leaves elements it does not write as they were;
            // a stale value from the previous key must not be read as data.
            std::fill(config.begin(), config.end(), 0);
            if (!doc.device.getKeyConfiguration(layer, key, config.data(), kKeyConfigArrayLength)) {
                return false;
            }
            readings.push_back(readSlot(doc, config));
        }
    }
    std::size_t next = 0;
    for (int layer = 0; layer <= 1; ++layer) {
        for (int key = 1; key <= kKeyCount; ++key) {
            applyReading(doc, slotOf(layer, key), std::move(readings[next++]));
        }
    }
    return true;
}

bool KeyboardAnswers(ConfigDocument& doc) {
    wchar_t version[kVersionTextLength] = {};
    return doc.device.ReadKeyboardVersion(version);
}

bool WriteLightsToDevice(ConfigDocument& doc) {
    std::array<int, kLightArrayLength> lights{};
    for (int key = 1; key <= kKeyCount; ++key) {
        const Rgb& colour = doc.keyColours[static_cast<std::size_t>(key)];
        std::copy(colour.begin(), colour.end(), lights.begin() + 3 * (key - 1));
    }
    return doc.device.setKeyboardLightArea(lights.data());
}

bool ReadLightsFromDevice(ConfigDocument& doc) {
    return ReadLightsFromDevice(doc, doc.keyColours);
}

bool ReadLightsFromDevice(ConfigDocument& doc, KeyColours& colours) {
    if (!doc.device.readKeyLightFromDev()) {
        return false;
    }
    std::array<int, kLightArrayLength> lights{};
    if (!doc.device.getKeyboardLightArea(lights.data())) {
        return false;
    }
    for (int key = 1; key <= kKeyCount; ++key) {
        auto first = lights.begin() + 3 * (key - 1);
        std::copy(first, first + 3, colours[static_cast<std::size_t>(key)].begin());
    }
    return true;
}

namespace {

using Counters = std::array<std::int64_t, kKeyCount + 1>;

// Ties keep the earlier key; -1 when no key was pressed.
int mostUsedKey(const Counters& counters) {
    int best = 1;
    for (int key = 2; key <= kKeyCount; ++key) {
        if (counters[static_cast<std::size_t>(key)] > counters[static_cast<std::size_t>(best)]) {
            best = key;
        }
    }
    return counters[static_cast<std::size_t>(best)] > 0 ? best : -1;
}

// The least used of the keys that were pressed at all.
int leastUsedKey(const Counters& counters) {
    int best = 1;
    for (int key = 2; key <= kKeyCount; ++key) {
        const std::int64_t count = counters[static_cast<std::size_t>(key)];
        const std::int64_t bestCount = counters[static_cast<std::size_t>(best)];
        if (count > 0 && (count < bestCount || bestCount <= 0)) {
            best = key;
        }
    }
    return counters[static_cast<std::size_t>(best)] > 0 ? best : -1;
}

} // namespace

bool ReadCountersFromDevice(ConfigDocument& doc) {
    std::array<int, kCounterArrayLength> read{};
    if (!doc.device.getPressCounterFromDev(read.data())) {
        return false;
    }
    // The library hands the 32 bits over in an int; they are a count, never negative.
    for (int key = 1; key <= kKeyCount; ++key) {
        doc.keyCounters[static_cast<std::size_t>(key)] =
            static_cast<std::uint32_t>(read[static_cast<std::size_t>(key - 1)]);
    }
    doc.highestKey = mostUsedKey(doc.keyCounters);
    doc.lowestKey = leastUsedKey(doc.keyCounters);
    return true;
}
