#include "model/AssignmentVocabulary.h"

#include "model/ChoiceNames.h"
#include "model/ConfigDocument.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

constexpr const char* kNoName = "-- --";
constexpr int kLargestCode = 0xFF;
constexpr std::size_t kMostSuggestions = 8;

// The keys whose label occurs twice, by the side a person calls them.
struct SideName {
    int key;
    const char* name;
};
constexpr SideName kSideNames[] = {
    {55, "Left Shift"}, {66, "Right Shift"}, {67, "Left Ctrl"},
    {73, "Right Ctrl"}, {69, "Left Alt"},    {71, "Right Alt"},
};

std::string fold(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// "#N" with N a decimal number; nothing for any other text.
std::optional<int> hashNumber(std::string_view text) {
    if (text.size() < 2 || text.front() != '#') {
        return std::nullopt;
    }
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data() + 1, end, value);
    if (ec != std::errc{} || ptr != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A slip of a letter or two, or a name that starts with or holds what was
// typed, is close; the rest would only bury the few that are.
bool isClose(const std::string& typed, const std::string& name, std::size_t distance) {
    const std::size_t allowed = typed.size() < 4 ? 1 : 2;
    if (distance <= allowed) {
        return true;
    }
    if (typed.size() >= 2 && name.starts_with(typed)) {
        return true;
    }
    return typed.size() >= 3 && name.find(typed) != std::string::npos;
}

std::string describeKey(const AssignmentVocabulary& words, int key) {
    const std::string name = words.keyName(key);
    if (name.starts_with('#')) {
        return name + " (" + KeyLabel(key) + ")";
    }
    return name + " (key " + std::to_string(key) + ")";
}

} // namespace

const char* KeySideName(int key) {
    for (const SideName& side : kSideNames) {
        if (side.key == key) {
            return side.name;
        }
    }
    return "";
}

int FactoryKeyCode(int key) {
    if (key < 1 || key > kKeyCount) {
        return 0;
    }
    // The top layer is the same for every model.
    return DefaultCodeTable(1)[static_cast<std::size_t>(2 * key)];
}

void AssignmentVocabulary::Index::add(std::string_view name, int value) {
    const std::string folded = fold(name);
    if (folded.empty()) {
        return;
    }
    std::vector<int>& values = values_[folded];
    if (std::find(values.begin(), values.end(), value) == values.end()) {
        values.push_back(value);
    }
    shown_.try_emplace(folded, name);
}

std::vector<int> AssignmentVocabulary::Index::find(std::string_view name) const {
    const auto found = values_.find(fold(name));
    return found == values_.end() ? std::vector<int>{} : found->second;
}

std::vector<std::string> AssignmentVocabulary::Index::closest(std::string_view name) const {
    const std::string typed = fold(name);
    std::vector<std::pair<std::size_t, std::string>> near;
    for (const auto& [folded, shown] : shown_) {
        // Bare numbers name keys, but are never what someone meant by a name.
        if (std::all_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        const std::size_t distance = editDistance(typed, folded);
        if (isClose(typed, folded, distance)) {
            near.emplace_back(distance, shown);
        }
    }
    std::sort(near.begin(), near.end());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < near.size() && names.size() < kMostSuggestions; ++i) {
        names.push_back(near[i].second);
    }
    return names;
}

AssignmentVocabulary::AssignmentVocabulary(const ConfigDocument& doc) : doc_(doc) {
    // Physical keys: every label (one that occurs twice names both keys and
    // so neither), the sides and counts of the doubled ones, and numbers.
    std::map<std::string, std::vector<int>> byLabel;
    for (int key = 1; key <= kKeyCount; ++key) {
        keys_.add(KeyLabel(key), key);
        // The digits are the number row's labels: keys 1 to 9 by number are #1 to #9.
        if (key >= 10) {
            keys_.add(std::to_string(key), key);
        }
        byLabel[KeyLabel(key)].push_back(key);
    }
    for (const SideName& side : kSideNames) {
        keys_.add(side.name, side.key);
    }
    for (const auto& [label, keys] : byLabel) {
        for (std::size_t i = 0; keys.size() > 1 && i < keys.size(); ++i) {
            keys_.add(label + "#" + std::to_string(i + 1), keys[i]);
        }
    }

    // A key named as something to type: what it types out of the box; a
    // doubled label alone is the left one, as in "Ctrl+C".
    const auto addKeyNames = [&](Index& index, auto accepts) {
        for (const auto& [label, keys] : byLabel) {
            if (const int code = FactoryKeyCode(keys.front()); accepts(code)) {
                index.add(label, code);
            }
            for (std::size_t i = 0; keys.size() > 1 && i < keys.size(); ++i) {
                if (const int code = FactoryKeyCode(keys[i]); accepts(code)) {
                    index.add(label + "#" + std::to_string(i + 1), code);
                }
            }
        }
        for (const SideName& side : kSideNames) {
            if (const int code = FactoryKeyCode(side.key); accepts(code)) {
                index.add(side.name, code);
            }
        }
    };

    std::vector<bool> sendsItself(kLargestCode + 1, false);
    for (int code = 1; code <= kLargestCode; ++code) {
        const std::string name = doc.DeviceCodeName(code);
        if (name == kNoName) {
            continue;
        }
        if (codeOfType(kTypeSingle, code)) {
            singles_.add(name, code);
        }
        for (const int type : {kTypeMultimedia, kTypeMouse, kTypeFunction, kTypePower}) {
            if (codeOfType(type, code)) {
                codeIndex(type)->add(name, code);
            }
        }
        // A record line reaches the keyboard as the code its text parses
        // to; a name that parses to another code ("Sleep") cannot be a step.
        if (doc.ParseRecordLine(name) == code) {
            listKeys_.add(name, code);
            sendsItself[static_cast<std::size_t>(code)] = true;
        }
    }
    for (const ChoiceName& choice : ChoiceNames()) {
        Index* index = codeIndex(choice.type);
        index->add(choice.en, choice.code);
        index->add(choice.zh, choice.code);
        if (sendsItself[static_cast<std::size_t>(choice.code)]) {
            listKeys_.add(choice.en, choice.code);
            listKeys_.add(choice.zh, choice.code);
        }
    }
    addKeyNames(singles_, [&](int code) { return codeOfType(kTypeSingle, code); });
    addKeyNames(listKeys_, [&](int code) { return sendsItself[static_cast<std::size_t>(code)]; });
}

AssignmentVocabulary::Index* AssignmentVocabulary::codeIndex(int type) {
    return const_cast<Index*>(std::as_const(*this).codeIndex(type));
}

const AssignmentVocabulary::Index* AssignmentVocabulary::codeIndex(int type) const {
    switch (type) {
    case kTypeSingle:
        return &singles_;
    case kTypeMultimedia:
        return &multimedia_;
    case kTypeMouse:
        return &mouse_;
    case kTypeFunction:
        return &functions_;
    case kTypePower:
        return &power_;
    default:
        return nullptr;
    }
}

// The type the keyboard reports for a single code, which is the type a
// code can be given: a left double click is the one mouse code it stores
// as two.
bool AssignmentVocabulary::codeOfType(int type, int code) const {
    if (code < 1 || code > kLargestCode) {
        return false;
    }
    if (code == 199) {
        return type == kTypeMouse;
    }
    return ClassifyCode(code) == type;
}

NameMatch AssignmentVocabulary::lookUp(const Index& index, std::string_view text,
                                       const std::function<std::string(int)>& describe) const {
    NameMatch match;
    const std::vector<int> values = index.find(text);
    if (values.size() == 1) {
        match.value = values.front();
    } else if (values.size() > 1) {
        match.ambiguous = true;
        for (const int value : values) {
            match.alternatives.push_back(describe(value));
        }
    } else {
        // A close name that names several (a doubled label) is offered as
        // the names that tell them apart.
        for (const std::string& name : index.closest(text)) {
            const std::vector<int> named = index.find(name);
            if (named.size() == 1) {
                match.alternatives.push_back(name);
                continue;
            }
            for (const int value : named) {
                match.alternatives.push_back(describe(value));
            }
        }
    }
    return match;
}

NameMatch AssignmentVocabulary::key(std::string_view text) const {
    text = trimmed(text);
    if (const auto number = hashNumber(text)) {
        NameMatch match;
        if (*number >= 1 && *number <= kKeyCount) {
            match.value = *number;
        }
        return match;
    }
    return lookUp(keys_, text, [this](int key) { return describeKey(*this, key); });
}

NameMatch AssignmentVocabulary::code(int type, std::string_view text) const {
    text = trimmed(text);
    const Index* index = codeIndex(type);
    if (index == nullptr) {
        return {};
    }
    if (const auto number = hashNumber(text)) {
        NameMatch match;
        if (codeOfType(type, *number)) {
            match.value = *number;
        }
        return match;
    }
    return lookUp(*index, text, [this, type](int code) { return codeName(type, code); });
}

NameMatch AssignmentVocabulary::listKey(std::string_view text) const {
    return lookUp(listKeys_, trimmed(text), [this](int code) { return lineOf(code); });
}

std::string AssignmentVocabulary::codeName(int type, int code) const {
    const Index* index = codeIndex(type);
    if (index == nullptr || !codeOfType(type, code)) {
        return "#" + std::to_string(code);
    }
    const auto namesOnly = [&](const std::string& name) {
        const std::vector<int> values = index->find(name);
        return values.size() == 1 && values.front() == code;
    };
    if (const std::string name = doc_.DeviceCodeName(code); name != kNoName && namesOnly(name)) {
        return name;
    }
    for (const ChoiceName& choice : ChoiceNames()) {
        if (choice.type == type && choice.code == code && namesOnly(choice.en)) {
            return choice.en;
        }
    }
    return "#" + std::to_string(code);
}

std::string AssignmentVocabulary::lineOf(int code) const {
    return doc_.DeviceCodeName(code);
}

std::string AssignmentVocabulary::keyName(int key) const {
    if (key < 1 || key > kKeyCount) {
        return {};
    }
    const auto namesOnly = [&](std::string_view name) {
        const std::vector<int> keys = keys_.find(name);
        return keys.size() == 1 && keys.front() == key;
    };
    if (namesOnly(KeyLabel(key))) {
        return KeyLabel(key);
    }
    if (const std::string side = KeySideName(key); !side.empty()) {
        return side;
    }
    return "#" + std::to_string(key);
}

std::vector<std::string> AssignmentVocabulary::names(int type) const {
    std::vector<std::string> all;
    for (int code = 1; code <= kLargestCode; ++code) {
        if (codeOfType(type, code)) {
            if (std::string name = codeName(type, code); !name.starts_with('#')) {
                all.push_back(std::move(name));
            }
        }
    }
    return all;
}
