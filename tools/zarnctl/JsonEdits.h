#pragma once

#include "model/ConfigDocument.h"
#include "model/KeyAssignment.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class AssignmentVocabulary;
struct JsonValue;

// One assignment for one slot, as set stores it.
struct SlotEdit {
    int key = 0;
    int layer = 0;
    KeyAssignment assignment;
};

// What set --json takes: the output of show --json, edited.
struct JsonEdits {
    std::string model;
    std::vector<SlotEdit> keys;
    std::vector<std::pair<int, Rgb>> colours;
};

// Reads every key and colour of the document by the rules set applies to
// its arguments; nothing, with the place and the reason in `error`, at the
// first entry that breaks one.  Clamps are said in `notes`.
std::optional<JsonEdits> ReadJsonEdits(const JsonValue& root, const AssignmentVocabulary& words,
                                       std::vector<std::string>& notes, std::string& error);

// Within a key FN goes first: the rule that gives the other layer FN as
// well must not overwrite what the edits say of that layer.
void OrderForStoring(std::vector<SlotEdit>& edits);
