#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

// The catalogue's names the other way round: from the text of a record line
// to the virtual code it names.  A write parses every line of every list, so
// a line costs a few hash look-ups instead of a walk over all the names.
class RecordLineNames {
public:
    // Built from the finished code-name map; a name that several codes share
    // keeps its lowest code.
    void build(const std::map<int, std::string>& codeNames);
    // The lowest virtual code whose name is the line, or the line without a
    // " Down" or " UP" ending; -1 when there is none.
    int lowestCode(std::string_view line) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    int codeOf(std::string_view name) const;

    std::unordered_map<std::string, int, Hash, std::equal_to<>> lowestCodes_;
};
