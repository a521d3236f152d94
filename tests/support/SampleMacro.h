#pragma once

#include "model/RecordList.h"

#include <string>

// A macro of `lines` lines, key presses and delays in turn, that each length
// makes different.
inline RecordList SampleMacro(int lines) {
    RecordList list;
    list.sizeOfView = 9;
    for (int i = 0; i < lines; ++i) {
        list.AppendItem(i % 2 == 0 ? "A Down" : "<" + std::to_string(i) + " ms>");
    }
    return list;
}
