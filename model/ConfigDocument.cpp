#include "model/ConfigDocument.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr const char* kNoName = "-- --";
constexpr std::size_t kSummaryLimit = 120;

bool endsAt(const std::string& text, const char* ending) {
    const std::size_t at = text.find(ending);
    return at != std::string::npos && at + std::strlen(ending) == text.size();
}

// Decimal value with the leniency of the C library: leading blanks, a sign,
// then digits up to the first other character; nothing numeric gives 0.
// Clamped instead of overflowing.
int leadingDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int>::max()) {
            value = std::numeric_limits<int>::max() + 1LL;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        value = std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

// The key text a macro summary shows for one record line.
std::string macroStep(const std::string& line) {
    const std::size_t close = line.find('>');
    if (!line.empty() && line.front() == '<' && close == line.size() - 1 && line.size() > 4) {
        return line.substr(1, line.size() - 5);
    }
    if (line.size() > 5 && endsAt(line, " Down")) {
        return line.substr(0, line.size() - 5);
    }
    if (line.size() > 3 && endsAt(line, " UP")) {
        return line.substr(0, line.size() - 3);
    }
    return line;
}

bool validSlot(int slot) {
    return slot >= 0 && slot < kSlotCount;
}

} // namespace

ConfigDocument::ConfigDocument() {
    // Every byte 200, so every counter reads negative: "never read".
    std::memset(keyCounters.data(), 200, sizeof keyCounters);
}

bool ConfigDocument::BuildCatalogue() {
    codeNames.clear();
    for (const CodeName& entry : CodeNameWrites()) {
        codeNames[entry.virtualCode] = entry.name;
    }

    vkToCode.fill(0);
    for (const KeyCodePair& pair : KeyCodePairs()) {
        vkToCode[static_cast<std::size_t>(pair.virtualCode)] = pair.deviceCode;
    }
    for (int code = kOffsetCodeFirst; code <= kOffsetCodeLast; ++code) {
        vkToCode[static_cast<std::size_t>(code + kOffsetCodeShift)] = code;
    }

    // One pass upwards: later virtual codes win, so entry 0 ends as 1023 and
    // device code 77 maps to 999, which has no name.  Kept as it always was.
    codeToVk.fill(0);
    for (int vk = 0; vk < kVirtualCodeCount; ++vk) {
        codeToVk[static_cast<std::size_t>(vkToCode[static_cast<std::size_t>(vk)])] = vk;
    }

    recordLineNames_.build(codeNames);

    for (int type = 0; type < kTypeCount; ++type) {
        typeNamesZh[static_cast<std::size_t>(type)] = TypeNameZh(type);
        typeNamesEn[static_cast<std::size_t>(type)] = TypeNameEn(type);
    }
    uiLanguage = "zh-CN";
    return true;
}

std::string ConfigDocument::DeviceCodeName(int deviceCode) const {
    int vk = -1;
    if (deviceCode >= 0 && deviceCode < kVirtualCodeCount) {
        vk = codeToVk[static_cast<std::size_t>(deviceCode)];
    }
    const auto found = codeNames.find(vk & 0x1FF);
    return found == codeNames.end() ? kNoName : found->second;
}

std::string ConfigDocument::EntryName(int value, bool withDirection) const {
    const auto found = codeNames.find(value & 0x1FF);
    if (found == codeNames.end()) {
        return kNoName;
    }
    if (!withDirection) {
        return found->second;
    }
    return found->second + (value < kReleaseFlag ? " Down" : " UP");
}

int ConfigDocument::TypedKeyCode(int virtualCode) const {
    if (virtualCode < 0 || virtualCode >= kVirtualCodeCount) {
        return 0;
    }
    return vkToCode[static_cast<std::size_t>(virtualCode)];
}

std::string ConfigDocument::TypeName(int type) const {
    if (type < 0 || type >= kTypeCount) {
        return {};
    }
    const auto index = static_cast<std::size_t>(type);
    return uiLanguage == "zh-CN" ? typeNamesZh[index] : typeNamesEn[index];
}

int ConfigDocument::FactoryCode(int slot) const {
    if (!validSlot(slot)) {
        return 0;
    }
    return DefaultCodeTable(modelType)[static_cast<std::size_t>(slot)];
}

void ConfigDocument::ResetToDefaults() {
    predefinedMacros.Clear();
    predefinedMacros.sizeOfView = 9;
    predefinedCombos.Clear();
    predefinedCombos.sizeOfView = 6;
    predefinedEmulations.Clear();
    predefinedEmulations.sizeOfView = 9;
    keyColours.fill(Rgb{0, 0, 0});
    const auto& factory = DefaultCodeTable(modelType);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        keyCode[slot] = factory[slot];
        keyMode[slot] = ClassifyCode(factory[slot]);
        keyLists[slot].Clear();
    }
}

int ConfigDocument::ParseRecordLine(const std::string& line) const {
    if (line.find("ms>") != std::string::npos) {
        if (line.size() < 5) {
            return 0;
        }
        return leadingDecimal(line.substr(1, line.size() - 5));
    }
    // Names are not unique: the lowest virtual code of a name decides, even
    // when the keyboard cannot store it ("Sleep" is 95 before the power key
    // 332, "Reserved" 10 before two function codes), so such lines give 0.
    const int vk = recordLineNames_.lowestCode(line);
    return vk < 0 ? 0 : vkToCode[static_cast<std::size_t>(vk)];
}

std::string ConfigDocument::DescribeAssignment(int key, int layer) const {
    if (key < 0 || key > kKeyCount || layer < 0 || layer > 1) {
        return {};
    }
    const auto slot = static_cast<std::size_t>(2 * key + layer);
    const RecordList& list = keyLists[slot];
    switch (keyMode[slot]) {
    case kTypeCombo:
    case kTypeEmulation: {
        std::string text;
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            text += (i == 0 ? "" : " | ") + list.items[i];
        }
        return text;
    }
    case kTypeMacro: {
        std::string text;
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            text += (i == 0 ? "" : ",") + macroStep(list.items[i]);
            if (text.size() > kSummaryLimit) {
                text += " ... ...";
                break;
            }
        }
        return text;
    }
    case kTypeSingle:
    case kTypeMultimedia:
    case kTypeMouse:
    case kTypeFunction:
    case kTypePower:
        return DeviceCodeName(keyCode[slot]);
    default:
        return {};
    }
}
