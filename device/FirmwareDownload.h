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

// A firmware text split into the records it sends, in order: every line up to
// the end of the text or the first empty line.  CR LF, CR and LF all end a
// line.  `lineCount` counts every line of the text, blank ones and those after
// the end included (a last line without a break is a line too): progress is
// measured against it.
struct FirmwareText {
    std::vector<std::string_view> records;
    long lineCount = 1;
};

// Nothing when the text is refused: it does not start with ':', or any line
// that is not empty does not start with ':', is too long or has an odd number
// of digits.
std::optional<FirmwareText> firmwareRecords(const char* text, std::size_t size);

// Sends every record as one report, posting UM_DEVICE_PROGRESS 1..150 to
// `window`.  A refused text sends nothing; a failed send ends the download.
bool downloadFirmware(CKeyboardUtil& transport, const char* text, std::size_t size,
                      const WindowHandle& window);
