#include "device/KeyConfigArray.h"

#include "device/CContinousKeyDefine.h"
#include "device/CMacroKeyDefine.h"
#include "device/CNormalKeyDefine.h"

#include <algorithm>

namespace {

// Play modes 0..2 travel as the macro's record types 2..4.
constexpr int kPlayTypeOffset = 2;
constexpr int kHighestPlayMode = 2;

void readCodes(const int* first, int count, std::vector<int>& codes) {
    codes.assign(first, first + count);
}

std::unique_ptr<CKeyDefine> normalFrom(int layerNumber, int keyNumber, const int* config, int length) {
    if (length < 2 || config[1] < 0 || config[1] > CNormalKeyDefine::kMaxCodes || length < 2 + config[1]) {
        return nullptr;
    }
    auto record = std::make_unique<CNormalKeyDefine>(keyNumber, layerNumber);
    readCodes(config + 2, config[1], record->codes);
    return record;
}

std::unique_ptr<CKeyDefine> continuousFrom(int layerNumber, int keyNumber, const int* config, int length) {
    if (length < 3 || config[2] < 0 || config[2] > CContinousKeyDefine::kMaxCodes || length < 3 + config[2]) {
        return nullptr;
    }
    auto record = std::make_unique<CContinousKeyDefine>(keyNumber, layerNumber);
    record->value = config[1];
    readCodes(config + 3, config[2], record->codes);
    return record;
}

std::unique_ptr<CKeyDefine> macroFrom(int layerNumber, int keyNumber, const int* config, int length) {
    if (length < 6) {
        return nullptr;
    }
    const int playMode = config[1];
    const int hasDelays = config[3];
    const int count = config[5];
    if (playMode < 0 || playMode > kHighestPlayMode || hasDelays < 0 || hasDelays > 1 || count < 0 ||
        count > CMacroKeyDefine::kMaxDataBytes ||
        CMacroKeyDefine::dataLengthFor(count, hasDelays != 0) > CMacroKeyDefine::kMaxDataBytes) {
        return nullptr;
    }
    const long needed = 6L + (hasDelays != 0 ? 2L : 1L) * count;
    if (length < needed) {
        return nullptr;
    }
    auto record = std::make_unique<CMacroKeyDefine>(keyNumber, layerNumber, playMode + kPlayTypeOffset);
    record->repeatCount = config[2];
    record->hasDelays = hasDelays;
    record->fixedDelay = config[4];
    for (int i = 0; i < count; ++i) {
        if (hasDelays != 0) {
            record->codes.push_back(config[6 + 2 * i]);
            record->delays.push_back(config[7 + 2 * i]);
        } else {
            record->codes.push_back(config[6 + i]);
            record->delays.push_back(0);
        }
    }
    return record;
}

int macroConfigLength(const CMacroKeyDefine& macro) {
    if (macro.hasDelays == 0) {
        return 6 + macro.count();
    }
    // The last action's delay is not handed out: the keyboard never keeps one.
    if (macro.hasDelays == 1 && macro.count() > 0) {
        return 6 + 2 * macro.count() - 1;
    }
    return 6;
}

void macroToConfig(const CMacroKeyDefine& macro, int* config) {
    config[0] = kMacroConfig;
    config[1] = macro.playType() - kPlayTypeOffset;
    config[2] = macro.repeatCount;
    config[3] = macro.hasDelays;
    config[4] = macro.fixedDelay;
    config[5] = macro.count();
    for (int i = 0; i < macro.count(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (macro.hasDelays == 0) {
            config[6 + i] = macro.codes[index];
        } else if (macro.hasDelays == 1) {
            config[6 + 2 * i] = macro.codes[index];
            if (i + 1 < macro.count()) {
                config[7 + 2 * i] = index < macro.delays.size() ? macro.delays[index] : 0;
            }
        }
    }
}

} // namespace

std::unique_ptr<CKeyDefine> recordFromKeyConfig(int layerNumber, int keyNumber, const int* config,
                                                int length) {
    if (config == nullptr || length < 1) {
        return nullptr;
    }
    switch (config[0]) {
    case kNormalConfig:
        return normalFrom(layerNumber, keyNumber, config, length);
    case kContinuousConfig:
        return continuousFrom(layerNumber, keyNumber, config, length);
    case kMacroConfig:
        return macroFrom(layerNumber, keyNumber, config, length);
    default:
        return nullptr;
    }
}

bool keyConfigFromRecord(const CKeyDefine* record, int* config, int capacity) {
    if (config == nullptr) {
        return false;
    }
    if (const auto* normal = dynamic_cast<const CNormalKeyDefine*>(record)) {
        const int count = static_cast<int>(normal->codes.size());
        if (capacity < 2 + count) {
            return false;
        }
        config[0] = kNormalConfig;
        config[1] = count;
        std::copy(normal->codes.begin(), normal->codes.end(), config + 2);
        return true;
    }
    if (const auto* continuous = dynamic_cast<const CContinousKeyDefine*>(record)) {
        const int count = static_cast<int>(continuous->codes.size());
        if (capacity < 3 + count) {
            return false;
        }
        config[0] = kContinuousConfig;
        config[1] = continuous->value;
        config[2] = count;
        std::copy(continuous->codes.begin(), continuous->codes.end(), config + 3);
        return true;
    }
    if (const auto* macro = dynamic_cast<const CMacroKeyDefine*>(record)) {
        if (capacity < macroConfigLength(*macro)) {
            return false;
        }
        macroToConfig(*macro, config);
        return true;
    }
    if (capacity < 2) {
        return false;
    }
    config[0] = kNormalConfig;
    config[1] = 0;
    return true;
}
