#pragma once

#include <string>

// Qt's own texts (the buttons of message boxes, the file dialog) in the
// interface language: Chinese for "zh-CN" from Qt's translations (Debian
// qt6-translations-l10n), Qt's built-in English otherwise.  Call at start and
// whenever the language changes.  False when the Chinese translations are not
// installed (Qt then stays in English).
bool FollowInterfaceLanguage(const std::string& uiLanguage);
