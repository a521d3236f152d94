#include "model/KeyAssignment.h"

#include "model/AssignmentVocabulary.h"
#include "model/ConfigDocument.h"
#include "model/ListLimits.h"

#include <charconv>
#include <limits>

namespace {

// The rows the dialog's list boxes give each list; a list made here looks
// as one the dialog or a read from the keyboard made.
constexpr int kComboRows = 6;
constexpr int kListRows = 9;
constexpr int kDefaultDelay = 30;

struct TypeWord {
    int type;
    const char* word;
};
constexpr TypeWord kTypeWords[] = {
    {kTypeNotSet, "clear"}, {kTypeSingle, "single"},       {kTypeCombo, "combo"},
    {kTypeMacro, "macro"},  {kTypeEmulation, "emulation"}, {kTypeMultimedia, "multimedia"},
    {kTypeMouse, "mouse"},  {kTypeFunction, "function"},   {kTypePower, "power"},
};

struct PlayModeName {
    int mode;
    const char* zh;
    const char* en;
};
constexpr PlayModeName kPlayModes[] = {
    {0, "次数播放", "Times Play"},
    {1, "按下播放，释放停止", "Press play, release stop"},
    {2, "按键开/关播放", "Press to play/stop"},
};

bool sameWord(std::string_view a, std::string_view b) {
    const auto fold = [](std::string_view text) {
        std::string folded;
        for (const char c : text) {
            if (c != ' ' && c != '-' && c != '_') {
                folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            }
        }
        return folded;
    };
    return fold(a) == fold(b);
}

bool isListType(int type) {
    return type == kTypeCombo || type == kTypeMacro || type == kTypeEmulation;
}

std::string joined(const std::vector<std::string>& names, const char* separator = ", ") {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : separator) + name;
    }
    return text;
}

// Why a name was not taken, with what it might have been.
std::string refusal(std::string_view what, std::string_view text, const NameMatch& match) {
    std::string message = "'" + std::string(text) + "'";
    if (match.ambiguous) {
        return message + " could be several " + std::string(what) + "s: " + joined(match.alternatives);
    }
    message += " is not a " + std::string(what);
    if (!match.alternatives.empty()) {
        message += "; close names: " + joined(match.alternatives);
    }
    return message;
}

class Builder {
public:
    Builder(const AssignmentVocabulary& words, const AssignmentRequest& request)
        : words_(words), request_(request) {}

    AssignmentOutcome build();

private:
    bool fail(std::string why) {
        outcome_.error = std::move(why);
        return false;
    }
    void note(std::string text) { outcome_.notes.push_back(std::move(text)); }
    bool onlyOptions(std::initializer_list<const char*> allowed);
    bool code(int type);
    bool listKeys(RecordList& list, int most, const char* kind);
    void splitCombo(std::string_view value, std::vector<std::string>& names) const;
    bool macro(RecordList& list);
    bool macroLine(std::string_view value, bool withDelays, std::size_t index, RecordList& list);
    int clamped(const char* option, long long value, int (*clamp)(long long));

    const AssignmentVocabulary& words_;
    const AssignmentRequest& request_;
    AssignmentOutcome outcome_;
    KeyAssignment assignment_;
};

AssignmentOutcome Builder::build() {
    const int type = request_.type;
    assignment_.type = type;
    bool ok = false;
    switch (type) {
    case kTypeNotSet:
        ok = onlyOptions({}) && (request_.values.empty() || fail("clear takes no names"));
        break;
    case kTypeSingle:
    case kTypeMultimedia:
    case kTypeMouse:
    case kTypeFunction:
    case kTypePower:
        ok = onlyOptions({}) && code(type);
        break;
    case kTypeCombo:
        assignment_.list.sizeOfView = kComboRows;
        ok = onlyOptions({}) && listKeys(assignment_.list, kMaxComboKeys, "combo");
        break;
    case kTypeEmulation:
        assignment_.list.sizeOfView = kListRows;
        ok = onlyOptions({"delay"}) && listKeys(assignment_.list, kMaxEmulationKeys, "emulation");
        if (ok && request_.delay) {
            assignment_.list.delay = clamped("delay", *request_.delay, ClampEmulationDelay);
        }
        break;
    case kTypeMacro:
        assignment_.list.sizeOfView = kListRows;
        ok = macro(assignment_.list);
        break;
    default:
        fail("not an assignment type");
        break;
    }
    if (ok) {
        outcome_.assignment = std::move(assignment_);
    }
    return std::move(outcome_);
}

bool Builder::onlyOptions(std::initializer_list<const char*> allowed) {
    const auto allows = [&](std::string_view name) {
        for (const char* option : allowed) {
            if (name == option) {
                return true;
            }
        }
        return false;
    };
    const std::string type = AssignmentTypeWord(request_.type);
    if (request_.delay && !allows("delay")) {
        return fail("--delay is for macros and emulations, not for " + type);
    }
    if (request_.cycles && !allows("cycles")) {
        return fail("--cycles is for macros, not for " + type);
    }
    if (request_.playMode && !allows("play-mode")) {
        return fail("--play-mode is for macros, not for " + type);
    }
    return true;
}

int Builder::clamped(const char* option, long long value, int (*clamp)(long long)) {
    const int kept = clamp(value);
    if (kept != value) {
        note(std::string(option) + " " + std::to_string(value) + " is kept as " + std::to_string(kept));
    }
    return kept;
}

bool Builder::code(int type) {
    if (request_.values.empty()) {
        return fail(std::string(AssignmentTypeWord(type)) + " needs a name");
    }
    // Unquoted words of one name ("Volume Up") arrive one by one.
    const std::string name = joined(request_.values, " ");
    const NameMatch match = words_.code(type, name);
    if (!match) {
        const std::string what = std::string(TypeNameEn(type)) + " name";
        if (!match.ambiguous && match.alternatives.empty() && type != kTypeSingle) {
            return fail(refusal(what, name, match) + "; the names are: " + joined(words_.names(type)));
        }
        return fail(refusal(what, name, match));
    }
    assignment_.code = *match.value;
    return true;
}

// A combo may come as one argument ("Ctrl+C") or as several ("Ctrl" "C").
// Names may hold '+' themselves ("KP+", "(+)", "+"), so each piece is the
// longest name that ends before a '+' or at the end.
void Builder::splitCombo(std::string_view value, std::vector<std::string>& names) const {
    constexpr auto npos = std::string_view::npos;
    std::size_t start = 0;
    while (true) {
        std::size_t end = value.size();
        while (true) {
            const std::string_view piece = value.substr(start, end - start);
            const NameMatch match = words_.listKey(piece);
            if (!piece.empty() && (match || match.ambiguous)) {
                break;
            }
            const std::size_t plus = end > start ? value.rfind('+', end - 1) : npos;
            if (plus == npos || plus < start) {
                // Not a name: the piece up to the next '+' is reported as it stands.
                end = std::min(value.find('+', start), value.size());
                break;
            }
            end = plus;
        }
        names.emplace_back(value.substr(start, end - start));
        if (end >= value.size()) {
            return;
        }
        start = end + 1;
    }
}

bool Builder::listKeys(RecordList& list, int most, const char* kind) {
    std::vector<std::string> names;
    for (const std::string& value : request_.values) {
        const NameMatch whole = words_.listKey(value);
        if (request_.type == kTypeCombo && !whole && !whole.ambiguous) {
            splitCombo(value, names);
        } else {
            names.push_back(value);
        }
    }
    if (names.empty()) {
        return fail(std::string("a ") + kind + " needs at least one key");
    }
    if (static_cast<int>(names.size()) > most) {
        return fail(std::string("a ") + kind + " holds at most " + std::to_string(most) + " keys, not " +
                    std::to_string(names.size()));
    }
    for (const std::string& name : names) {
        const NameMatch match = words_.listKey(name);
        if (!match) {
            return fail(refusal("key name", name, match));
        }
        list.items.push_back(words_.lineOf(*match.value));
    }
    list.children.resize(list.items.size());
    return true;
}

// "<50 ms>" as the record list shows it; a number out of range is clamped
// as the delay edit clamps it.
std::optional<long long> delayLineValue(std::string_view line) {
    if (line.size() < 5 || line.front() != '<' || line.back() != '>') {
        return std::nullopt;
    }
    std::string_view inner = line.substr(1, line.size() - 2);
    if (inner.size() < 2 ||
        (inner.substr(inner.size() - 2) != "ms" && inner.substr(inner.size() - 2) != "MS")) {
        return std::nullopt;
    }
    inner.remove_suffix(2);
    while (!inner.empty() && inner.back() == ' ') {
        inner.remove_suffix(1);
    }
    while (!inner.empty() && inner.front() == ' ') {
        inner.remove_prefix(1);
    }
    const bool negative = !inner.empty() && inner.front() == '-';
    if (negative) {
        inner.remove_prefix(1);
    }
    if (inner.empty() || inner.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char c : inner) {
        value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
    }
    return negative ? -value : value;
}

bool Builder::macroLine(std::string_view value, bool withDelays, std::size_t index, RecordList& list) {
    const std::string where = "macro line " + std::to_string(index + 1) + " '" + std::string(value) + "'";
    // With recorded delays the bridge reads key, delay, key, ...: a line
    // out of turn would reach the keyboard as a delay or as a key.
    const bool delayTurn = withDelays && index % 2 == 1;
    if (const auto delay = delayLineValue(value)) {
        if (!withDelays) {
            return fail(where + ": a macro with the automatic delay (--delay) has no delay lines");
        }
        if (!delayTurn) {
            return fail(where + ": with recorded delays the first line and every other one are key lines");
        }
        list.items.push_back(DelayLine(clamped("delay line", *delay, ClampDelayLine)));
        return true;
    }
    if (delayTurn) {
        return fail(where + " must be a delay line such as '<50 ms>': recorded delays alternate key and "
                            "delay lines (--delay MS gives every step one delay instead)");
    }
    // A name of its own ("Mouse Down") goes before a direction ending.
    const NameMatch whole = words_.listKey(value);
    if (whole) {
        list.items.push_back(words_.lineOf(*whole.value));
        return true;
    }
    if (!whole.ambiguous) {
        constexpr std::pair<std::string_view, std::string_view> kEndings[] = {{" down", " Down"},
                                                                              {" up", " UP"}};
        std::string lower(value);
        for (char& c : lower) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        for (const auto& [typed, shown] : kEndings) {
            if (lower.size() > typed.size() && lower.ends_with(typed)) {
                const std::string_view name = value.substr(0, value.size() - typed.size());
                const NameMatch match = words_.listKey(name);
                if (!match) {
                    return fail(where + ": " + refusal("key name", name, match));
                }
                list.items.push_back(words_.lineOf(*match.value) + std::string(shown));
                return true;
            }
        }
    }
    return fail(where + ": " + refusal("key name", value, whole) +
                (value.starts_with('<') ? " (a delay line reads '<50 ms>')" : ""));
}

bool Builder::macro(RecordList& list) {
    if (request_.playMode) {
        const auto mode = PlayModeOfName(*request_.playMode);
        if (!mode) {
            return fail("'" + *request_.playMode +
                        "' is not a play mode: 0 'Times Play', 1 'Press play, release stop' or 2 'Press to "
                        "play/stop'");
        }
        list.playMode = *mode;
    }
    list.isAutoInterval = request_.autoDelay.value_or(request_.delay.has_value());
    list.delay = request_.delay ? clamped("delay", *request_.delay, ClampAutoDelay) : kDefaultDelay;
    list.cycles = request_.cycles ? clamped("cycles", *request_.cycles, ClampCycles) : 1;
    if (request_.values.empty()) {
        return fail("a macro needs at least one line");
    }
    const int most = MacroLineLimit(list);
    if (static_cast<int>(request_.values.size()) > most) {
        return fail(std::string("a macro with ") +
                    (list.isAutoInterval ? "the automatic delay" : "recorded delays") + " holds at most " +
                    std::to_string(most) + " lines, not " + std::to_string(request_.values.size()));
    }
    for (std::size_t i = 0; i < request_.values.size(); ++i) {
        if (!macroLine(request_.values[i], !list.isAutoInterval, i, list)) {
            return false;
        }
    }
    list.children.resize(list.items.size());
    return true;
}

} // namespace

void StoreAssignment(ConfigDocument& doc, int key, int layer, const KeyAssignment& assignment) {
    if (key < 1 || key > kKeyCount || layer < 0 || layer > 1 || assignment.type < 0 ||
        assignment.type >= kTypeCount) {
        return;
    }
    const auto slot = static_cast<std::size_t>(2 * key + layer);
    doc.keyMode[slot] = assignment.type;
    if (isListType(assignment.type)) {
        doc.keyCode[slot] = 0;
        doc.keyLists[slot] = assignment.list;
    } else {
        doc.keyCode[slot] = assignment.type == kTypeNotSet ? 0 : assignment.code;
        doc.keyLists[slot] = RecordList();
    }
    if (assignment.type == kTypeFunction && assignment.code == kFnCode) {
        const auto other = static_cast<std::size_t>(2 * key + 1 - layer);
        doc.keyMode[other] = kTypeFunction;
        doc.keyCode[other] = kFnCode;
        doc.keyLists[other] = RecordList();
    }
}

AssignmentOutcome BuildAssignment(const AssignmentVocabulary& words, const AssignmentRequest& request) {
    return Builder(words, request).build();
}

int AssignmentTypeOfName(std::string_view name) {
    for (const TypeWord& word : kTypeWords) {
        if (sameWord(name, word.word) || sameWord(name, TypeNameEn(word.type))) {
            return word.type;
        }
    }
    return -1;
}

const char* AssignmentTypeWord(int type) {
    for (const TypeWord& word : kTypeWords) {
        if (word.type == type) {
            return word.word;
        }
    }
    return "";
}

std::optional<int> PlayModeOfName(std::string_view name) {
    for (const PlayModeName& mode : kPlayModes) {
        if (name == std::to_string(mode.mode) || sameWord(name, mode.en) || name == mode.zh) {
            return mode.mode;
        }
    }
    return std::nullopt;
}

AssignmentRequest RequestOf(const AssignmentVocabulary& words, const ConfigDocument& doc, int key,
                            int layer) {
    AssignmentRequest request;
    if (key < 1 || key > kKeyCount || layer < 0 || layer > 1) {
        return request;
    }
    const auto slot = static_cast<std::size_t>(2 * key + layer);
    const int type = doc.keyMode[slot];
    request.type = type;
    const RecordList& list = doc.keyLists[slot];
    switch (type) {
    case kTypeCombo:
    case kTypeEmulation:
    case kTypeMacro:
        request.values = list.items;
        break;
    case kTypeNotSet:
        break;
    default:
        request.values.push_back(words.codeName(type, doc.keyCode[slot]));
        break;
    }
    if (type == kTypeEmulation) {
        request.delay = list.delay;
    }
    if (type == kTypeMacro) {
        request.delay = list.delay;
        request.cycles = list.cycles;
        request.playMode = std::to_string(list.playMode);
        request.autoDelay = list.isAutoInterval;
    }
    return request;
}
