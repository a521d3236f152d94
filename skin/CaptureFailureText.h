#pragma once

#include "platform/KeyboardCapture.h"

#include <string>
#include <vector>

// Why no keyboard capture could start, one line per source tried, in words
// for the keyboard's owner: "zh-CN" gives Chinese, any other language English.
std::string DescribeCaptureFailures(const std::vector<CaptureFailure>& failures, const std::string& language);
