#pragma once

#include "model/ListLimits.h"
#include "model/RecordList.h"

#include <string>
#include <string_view>

// Edits of the record lists of macros and emulations that need no window:
// the delay modes, mouse lines from the menu, deleting a step and the list
// limits (those of the model, which zarnctl and profiles keep as well).
// Each edit returns how many lines the list gained (negative: lost), which
// the list's scroll bar follows.

// A line that starts with '<' and whose first '>' is its last character.
bool IsDelayLine(std::string_view line);
// The number of a delay line as written ("50" for "<50 ms>"): the line
// without its first character and its last four.
std::string DelayLineNumber(std::string_view line);

// A number typed into an edit: leading decimal digits, 0 for none; too many
// digits read as the largest int rather than overflow.
int ReadDecimal(std::string_view text);

// Automatic delay: only the key lines (entries 0, 2, 4, ...) stay.  A list
// already on the automatic delay is left as it is.
int SwitchToAutomaticDelay(RecordList& macro);
// Recorded delays: a delay line of the list's `delay` between every two
// steps.  A list already on recorded delays is left as it is.
int SwitchToRecordedDelays(RecordList& macro);

// Puts `events` mouse lines (1, or 2 for a click) before the line at view
// index `row`, each with its "<0 ms>" delay line when delays are recorded,
// so that key and delay lines keep alternating.
int InsertMouseEvents(RecordList& macro, int row, const std::string& mouseLine, int events);
// Deletes the line at `row` and, with recorded delays, the line that took its
// place (its delay), so that the alternation holds.
int DeleteMacroStep(RecordList& macro, int row);
// Drops lines from the end until the list is within its limit.
int TrimToLimit(RecordList& macro);
