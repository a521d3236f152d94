#include "keyeditor/MacroListEditing.h"

#include <climits>
#include <cstddef>
#include <utility>
#include <vector>

namespace {

constexpr const char* kZeroDelay = "<0 ms>";

// The view fields as deleting lines one by one leaves them: the first
// visible row and the cursor stay on an entry.
void keepViewOnEntries(RecordList& list) {
    const int count = list.count();
    if (count == 0) {
        list.viewStartAt = 0;
        list.cursorPos = 0;
        return;
    }
    if (static_cast<unsigned>(list.viewStartAt) >= static_cast<unsigned>(count)) {
        list.viewStartAt = count - 1;
    }
    if (list.cursorPos >= count - list.viewStartAt) {
        list.cursorPos = count - list.viewStartAt - 1;
    }
}

} // namespace

bool IsDelayLine(std::string_view line) {
    return !line.empty() && line.front() == '<' && line.find('>') == line.size() - 1;
}

std::string DelayLineNumber(std::string_view line) {
    if (line.size() <= 5) {
        return {};
    }
    return std::string(line.substr(1, line.size() - 5));
}

int ReadDecimal(std::string_view text) {
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int>(value);
}

int SwitchToAutomaticDelay(RecordList& macro) {
    if (macro.isAutoInterval) {
        return 0;
    }
    macro.isAutoInterval = true;
    const int before = macro.count();
    std::vector<std::string> items;
    std::vector<RecordList> children;
    items.reserve(macro.items.size() / 2 + 1);
    children.reserve(macro.items.size() / 2 + 1);
    for (std::size_t i = 0; i < macro.items.size(); i += 2) {
        items.push_back(std::move(macro.items[i]));
        children.push_back(std::move(macro.children[i]));
    }
    macro.items = std::move(items);
    macro.children = std::move(children);
    keepViewOnEntries(macro);
    return macro.count() - before;
}

int SwitchToRecordedDelays(RecordList& macro) {
    if (!macro.isAutoInterval) {
        return 0;
    }
    macro.isAutoInterval = false;
    const int before = macro.count();
    if (before < 2) {
        return 0;
    }
    const std::string delay = DelayLine(macro.delay);
    std::vector<std::string> items;
    std::vector<RecordList> children;
    items.reserve(macro.items.size() * 2);
    children.reserve(macro.items.size() * 2);
    for (std::size_t i = 0; i < macro.items.size(); ++i) {
        if (i > 0) {
            // As an inserted line: a fresh child.
            items.push_back(delay);
            children.emplace_back();
        }
        items.push_back(std::move(macro.items[i]));
        children.push_back(std::move(macro.children[i]));
    }
    macro.items = std::move(items);
    macro.children = std::move(children);
    return macro.count() - before;
}

int InsertMouseEvents(RecordList& macro, int row, const std::string& mouseLine, int events) {
    const int before = macro.count();
    for (int event = 0; event < events; ++event) {
        // Inserted at the same row, the later line goes before the earlier:
        // which comes first depends on what the row holds at that moment.
        const std::string line = macro.ItemText(row);
        const bool beforeDelay = !line.empty() && line.front() == '<';
        if (beforeDelay) {
            macro.InsertItem(row, mouseLine);
        }
        if (!macro.isAutoInterval) {
            macro.InsertItem(row, kZeroDelay);
        }
        if (!beforeDelay) {
            macro.InsertItem(row, mouseLine);
        }
    }
    return macro.count() - before;
}

int DeleteMacroStep(RecordList& macro, int row) {
    const int before = macro.count();
    macro.DeleteItem(row);
    if (!macro.isAutoInterval) {
        macro.DeleteItem(row);
    }
    return macro.count() - before;
}

int TrimToLimit(RecordList& macro) {
    const int limit = MacroLineLimit(macro);
    const int before = macro.count();
    if (before <= limit) {
        return 0;
    }
    macro.items.resize(static_cast<std::size_t>(limit));
    macro.children.resize(static_cast<std::size_t>(limit));
    keepViewOnEntries(macro);
    return limit - before;
}
