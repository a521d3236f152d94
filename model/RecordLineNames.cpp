#include "model/RecordLineNames.h"

namespace {

constexpr std::string_view kEndings[] = {" Down", " UP"};

} // namespace

void RecordLineNames::build(const std::map<int, std::string>& codeNames) {
    lowestCodes_.clear();
    lowestCodes_.reserve(codeNames.size());
    // The map runs in ascending code order, so the first code filed under a
    // name is its lowest.
    for (const auto& [code, name] : codeNames) {
        lowestCodes_.try_emplace(name, code);
    }
}

int RecordLineNames::codeOf(std::string_view name) const {
    const auto found = lowestCodes_.find(name);
    return found == lowestCodes_.end() ? -1 : found->second;
}

int RecordLineNames::lowestCode(std::string_view line) const {
    // A line may both be a name and end in a direction ("Mouse Down" is a
    // name of its own): every reading competes, and the lowest code wins.
    int lowest = codeOf(line);
    for (std::string_view ending : kEndings) {
        if (!line.ends_with(ending)) {
            continue;
        }
        const int code = codeOf(line.substr(0, line.size() - ending.size()));
        if (code >= 0 && (lowest < 0 || code < lowest)) {
            lowest = code;
        }
    }
    return lowest;
}
