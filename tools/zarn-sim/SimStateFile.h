#pragma once

#include "tools/zarn-sim/SimMemory.h"

#include <string>
#include <string_view>

// The state file keeps a simulated keyboard's memory between runs.  It is
// plain text, one item per line, so a person can read and diff it:
//
//   zarn-sim state 1
//   version <hex of the text>        only after a firmware download
//   lights <618 hex digits>          the 309 bytes of the light area
//   slot <0..205> <128 hex digits>   one line per stored payload, slots in
//                                    order, a macro's chunks in order
//   end
//
// Reading is strict: anything else (an unknown line, a slot out of order or
// whose payload names another key, a macro missing chunks, a missing end
// line) refuses the whole file, so a damaged file never becomes a keyboard
// that half remembers.
std::string formatSimState(const SimMemory& memory);
bool parseSimState(std::string_view text, SimMemory* memory, std::string* error);

enum class SimStateLoad { Loaded, Missing, Refused };

SimStateLoad loadSimState(const std::string& path, SimMemory* memory, std::string* error);

// Writes a temporary file beside `path` and renames it over, so a crash or a
// full disk leaves the previous state intact.
bool saveSimState(const std::string& path, const SimMemory& memory, std::string* error);
