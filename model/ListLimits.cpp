#include "model/ListLimits.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

void cutTo(RecordList& list, int longest) {
    if (list.count() > longest) {
        list.items.resize(static_cast<std::size_t>(longest));
        list.children.resize(static_cast<std::size_t>(longest));
    }
}

// A delay line as the device bridge reads it: whatever holds "ms>", its
// number between the first character and the last four, read as atoi does.
bool delayOf(std::string_view line, long long& value) {
    if (line.find("ms>") == std::string_view::npos || line.size() < 5) {
        return false;
    }
    std::string_view number = line.substr(1, line.size() - 5);
    std::size_t i = 0;
    while (i < number.size() && (number[i] == ' ' || number[i] == '\t')) {
        ++i;
    }
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) {
        ++i;
    }
    value = 0;
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (number[i] - '0'), std::numeric_limits<int>::max() + 1LL);
    }
    value = negative ? -value : value;
    return true;
}

void clampDelayLines(RecordList& list) {
    for (std::string& line : list.items) {
        long long delay = 0;
        if (delayOf(line, delay) && (delay < 0 || delay > kMaxDelayLineMs)) {
            line = DelayLine(ClampDelayLine(delay));
        }
    }
}

} // namespace

int ClampCycles(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kMinCycles, kMaxCycles));
}

int ClampAutoDelay(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, kMaxMacroDelayMs));
}

int ClampEmulationDelay(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, kMaxEmulationDelayMs));
}

int ClampDelayLine(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, kMaxDelayLineMs));
}

int MacroLineLimit(const RecordList& macro) {
    return macro.isAutoInterval ? kMaxAutoMacroLines : kMaxRecordedMacroLines;
}

std::string DelayLine(int milliseconds) {
    return "<" + std::to_string(milliseconds) + " ms>";
}

std::string KeepListInLimits(RecordList& list, ListKind kind) {
    switch (kind) {
    case ListKind::Combo:
        cutTo(list, kMaxComboKeys);
        break;
    case ListKind::Emulation:
        cutTo(list, kMaxEmulationKeys);
        list.delay = ClampEmulationDelay(list.delay);
        break;
    case ListKind::Macro:
        if (list.playMode < 0 || list.playMode >= kPlayModeCount) {
            return "PlayMode " + std::to_string(list.playMode) + " is not a play mode (0 to " +
                   std::to_string(kPlayModeCount - 1) + ")";
        }
        list.cycles = ClampCycles(list.cycles);
        list.delay = ClampAutoDelay(list.delay);
        cutTo(list, MacroLineLimit(list));
        clampDelayLines(list);
        break;
    }
    return {};
}
