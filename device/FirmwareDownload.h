#pragma once

#include "platform/WindowHandle.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

class CKeyboardUtil;

// Lines of 1000 characters or more are refused.
inline constexpr std::size_t kMaxFirmwareLineLength = 1000;
inline constexpr int kFirmwareProgressEnd = 150;

// The records a firmware text sends, in order: every line up to the end of the
// text or the first empty line.  CR LF, CR and LF all end a line.  Nothing
// when the text is refused: it does not start with ':', or any line that is
// not empty does not start with ':', is too long or has an odd number of digits.
std::optional<std::vector<std::string_view>> firmwareRecords(const char* text, std::size_t size);

// Sends every record as one report, posting UM_DEVICE_PROGRESS 1..150 to
// `window`.  A refused text sends nothing; a failed send ends the download.
bool downloadFirmware(CKeyboardUtil& transport, const char* text, std::size_t size,
                      const WindowHandle& window);
