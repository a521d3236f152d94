#pragma once

#include "model/RecordList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class AssignmentVocabulary;
class ConfigDocument;

// What one key slot is to do, as the key settings dialog's OK hands it over.
struct KeyAssignment {
    int type = 0;    // kTypeNotSet .. kTypePower
    int code = 0;    // Single, Multimedia, Mouse, Function, Power: the device code
    RecordList list; // Combo, Macro, Emulation: the steps and their settings
};

// The Fn key works only when both layers of its key hold it.
inline constexpr int kFnCode = 156;

// Stores `assignment` into slot (key, layer) as OK does, with the FN rule:
// FN chosen as a Function sets both layers of the key.  The slot is written
// whole (a list type with code 0, a code type and Not set with an empty
// list), so that nothing an earlier assignment left behind stays in it.
void StoreAssignment(ConfigDocument& doc, int key, int layer, const KeyAssignment& assignment);

// An assignment in the words a person types, as zarnctl set takes it: the
// type, the names (a key, a choice, combo keys, record lines) and the options
// of macros and emulations.
struct AssignmentRequest {
    int type = -1;
    std::vector<std::string> values;
    // Macro: the automatic delay (and so the automatic-delay mode, unless
    // autoDelay says otherwise); emulation: its delay.
    std::optional<long long> delay;
    std::optional<long long> cycles;
    std::optional<std::string> playMode; // 0, 1, 2 or the dialog's name of the mode
    std::optional<bool> autoDelay;
};

struct AssignmentOutcome {
    std::optional<KeyAssignment> assignment;
    // Why the request was refused, in one or more lines.
    std::string error;
    // What was changed on the way as the dialog would change it (clamps).
    std::vector<std::string> notes;
};

// Checks a request against the dialog's rules and makes the assignment: the
// names must exist (or the close ones are offered), a combo and an emulation
// hold one to six keys, a macro at most 799 lines with recorded delays
// (alternating key and delay lines) and 1600 with the automatic delay, and
// numbers are clamped as the dialog's edits clamp them.
AssignmentOutcome BuildAssignment(const AssignmentVocabulary& words, const AssignmentRequest& request);

// The type a word names: "single" ... "power", "clear", or a type's English
// name as the program shows it ("Not set", "Multimedia"); -1 for none.
int AssignmentTypeOfName(std::string_view name);
// The word for a type that AssignmentTypeOfName takes back ("clear" for Not set).
const char* AssignmentTypeWord(int type);
// Play modes by number and the names the dialog shows them by.
std::optional<int> PlayModeOfName(std::string_view name);

// The request that gives a slot's assignment back through BuildAssignment.
AssignmentRequest RequestOf(const AssignmentVocabulary& words, const ConfigDocument& doc, int key, int layer);
