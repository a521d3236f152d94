#pragma once

#include "skin/UserPrompts.h"

#include <optional>
#include <string>
#include <vector>

// The menu of the Macro page's record list: mouse actions to insert before
// the right-clicked line, and Delete.
inline constexpr int kRecordMenuDelete = 1147;

// What a mouse command of the menu inserts: the line of a device code, once
// (press, release, a wheel step) or twice in a row (a click).
struct MouseMenuAction {
    int deviceCode;
    int events;
};

// The mouse action of a menu command; nothing for Delete and unknown commands.
std::optional<MouseMenuAction> MouseActionOf(int command);

// The menu in the interface language; empty for a language the program does not speak.
std::vector<PromptMenuItem> RecordListMenu(const std::string& uiLanguage);
