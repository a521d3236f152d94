#pragma once

#include "model/ConfigDocument.h"

#include <array>

// What a user edits in a document (and a profile stores), as one value that
// tests compare.
struct UserPart {
    RecordList combos;
    RecordList macros;
    RecordList emulations;
    KeyColours colours{};
    std::array<int, kSlotCount> modes{};
    std::array<int, kSlotCount> codes{};
    std::array<RecordList, kSlotCount> lists;
    friend bool operator==(const UserPart&, const UserPart&) = default;
};

inline UserPart UserPartOf(const ConfigDocument& doc) {
    return {doc.predefinedCombos, doc.predefinedMacros, doc.predefinedEmulations, doc.keyColours, doc.keyMode,
            doc.keyCode,          doc.keyLists};
}
