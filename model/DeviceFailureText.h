#pragma once

#include "platform/HidFailure.h"

#include <string>

// Why the keyboard cannot be used, in words for its owner: "zh-CN" gives
// Chinese, any other language English.  Empty when nothing failed and for a
// keyboard that is simply absent, which the callers' own "Keyboard is not
// connected!" already says.
std::string DescribeDeviceFailure(const HidFailure& failure, const std::string& language);

// A failure the user can act on (permission, busy, gone, absent) rather than
// a keyboard that stopped answering; zarnctl tells them apart by exit status.
bool IsAccessFailure(const HidFailure& failure);
