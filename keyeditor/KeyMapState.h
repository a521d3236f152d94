#pragma once

#include "model/RecordList.h"

#include <array>
#include <cstdint>

// What the key settings dialog edits during one run.  Nothing reaches the
// document before OK; Cancel drops all of it.
struct KeyMapState {
    // Page 1: Single (1) or Combo (0), and the single key as a virtual code (-1 none).
    int singleMode = 1;
    int singleKey = -1;
    // Device codes chosen on the Multimedia, Mouse, Function and Power pages; -1 none.
    int multimediaCode = -1;
    int mouseCode = -1;
    int functionCode = -1;
    int powerCode = -1;

    // Working copies of the libraries, and the lists being edited: each the
    // child of its library's selected entry.
    RecordList comboLibrary;
    RecordList comboKeys;
    RecordList macroLibrary;
    RecordList macroRecords;
    RecordList emulationLibrary;
    RecordList emulationRecords;

    // Keyboard captures; at most one runs, and the next click stops it.
    bool recordingSingle = false;
    bool recordingCombo = false;
    bool recordingMacro = false;
    bool recordingEmulation = false;
    // Capture bookkeeping: which keys are down, the counter value and the
    // event of the previous hooked key.
    std::array<std::uint8_t, 256> keyDownState{};
    std::int64_t lastHookTime = 0;
    int lastHookEvent = -1;

    // inPlaceEdit is open over a library row (renaming) or a delay line.
    bool renaming = false;
    bool editingDelay = false;
    // The record row last right-clicked.
    int menuRow = 0;

    bool capturing() const {
        return recordingSingle || recordingCombo || recordingMacro || recordingEmulation;
    }
};
