#pragma once

#include "model/RecordList.h"

#include <string>

// What the key settings dialog lets a combo, macro or emulation hold.  A
// profile written by hand can ask for more; reading it keeps it inside these
// the way the dialog does, so that nothing the keyboard cannot take is found
// only when the keys are written.
inline constexpr int kMaxComboKeys = 6;
inline constexpr int kMaxEmulationKeys = 6;
inline constexpr int kMaxRecordedMacroLines = 799; // key and delay lines in turn
inline constexpr int kMaxAutoMacroLines = 1600;    // key lines with the fixed delay
inline constexpr int kMinCycles = 1;
inline constexpr int kMaxCycles = 255;
inline constexpr int kMaxMacroDelayMs = 60000;
inline constexpr int kMaxEmulationDelayMs = 6000;
inline constexpr int kMaxDelayLineMs = 65535;
inline constexpr int kPlayModeCount = 3;

// The clamps of the dialog's number edits: the loop count, the automatic
// delay of a macro, the delay of an emulation and a delay line.
int ClampCycles(long long value);
int ClampAutoDelay(long long value);
int ClampEmulationDelay(long long value);
int ClampDelayLine(long long value);

// The most lines `macro` may hold: recorded delays alternate key and delay
// lines, so such a macro holds about half the steps of one with the
// automatic delay.
int MacroLineLimit(const RecordList& macro);

// A delay line as record lists hold it: "<%d ms>".
std::string DelayLine(int milliseconds);

// Where a list sits decides what the keyboard is sent from it.
enum class ListKind { Combo, Macro, Emulation };

// Clamps and cuts `list` as the dialog's editors do: cycles, delays and
// delay lines into their ranges, entries beyond the longest list dropped.
// A value no editor can clamp (a play mode the keyboard does not know) is
// not changed but returned as the reason to refuse the list; empty when the
// list can be used.
std::string KeepListInLimits(RecordList& list, ListKind kind);
