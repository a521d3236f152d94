#pragma once

#include <span>

// A button of the key settings dialog's choice pages (Multimedia, Mouse,
// Function, Power): the device code it chooses and the text it shows for it,
// its tool tip or its caption, in each language.  A code may have two rows
// (the Power buttons have a tip and a caption).
struct ChoiceName {
    int type; // kTypeMultimedia, kTypeMouse, kTypeFunction or kTypePower
    int code;
    const char* zh;
    const char* en;
};

std::span<const ChoiceName> ChoiceNames();
