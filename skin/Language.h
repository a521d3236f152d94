#pragma once

#include <QString>

#include <string>

// The text of the interface language: Chinese for "zh-CN", English for
// "en-US", and nothing for any other value, as every window of the program
// chooses its texts.
QString ByLanguage(const std::string& uiLanguage, const char* zh, const char* en);
