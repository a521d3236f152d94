#pragma once

#include "app/elements/SkinItem.h"

inline constexpr int kKeySettingsSlots = 221;
inline constexpr int kKeySettingsPages = 7;
inline constexpr ColorRef kKeySettingsColourKey = Rgb24(255, 0, 0);
// Image size of every page at scale 1 (also the size without a background image).
inline constexpr int kKeySettingsWidth = 584;
inline constexpr int kKeySettingsHeight = 366;

// Frame commands, active on every page.
inline constexpr int kKsCmdDefault = 87;
inline constexpr int kKsCmdClear = 86;
inline constexpr int kKsCmdOk = 88;
inline constexpr int kKsCmdCancel = 89;
inline constexpr int kKsCmdFirstTab = 90; // tabs 90..96 show pages 1..7
inline constexpr int kKsCmdClose = 97;

// The page an element belongs to: 0 for the frame (ids 1..99), else id / 100.
constexpr int KeySettingsPageOf(int id) {
    return id < 100 ? 0 : id / 100;
}

// Whether an element takes part while page `page` is shown.
constexpr bool KeySettingsActiveOn(int id, int page) {
    return id > 0 && (id < 100 || id / 100 == page);
}

// Rows of a list box (scaledLabel elements): first id and number of rows.
struct KeySettingsListRows {
    int firstId;
    int rows;
};
inline constexpr KeySettingsListRows kComboLibraryRows{121, 6};
inline constexpr KeySettingsListRows kComboKeysRows{141, 3};
inline constexpr KeySettingsListRows kMacroLibraryRows{221, 9};
inline constexpr KeySettingsListRows kMacroRecordRows{241, 9};
inline constexpr KeySettingsListRows kEmulationLibraryRows{321, 9};
inline constexpr KeySettingsListRows kEmulationRecordRows{341, 9};

// Child controls; the dialog scales them.
inline constexpr ControlPlace kCountEditZh{470, 112, 36, 18};
inline constexpr ControlPlace kCountEditEn{485, 112, 36, 18};
inline constexpr ControlPlace kAutoDelayEditZh{470, 176, 36, 18};
inline constexpr ControlPlace kAutoDelayEditEn{480, 176, 36, 18};
inline constexpr ControlPlace kComboKeysView{380, 138, 141, 52};
inline constexpr ControlPlace kLibraryScrollBarPage1{358, 137, 15, 96};
inline constexpr ControlPlace kLibraryScrollBarPages23{181, 115, 15, 126};
inline constexpr ControlPlace kRecordScrollBarPages23{357, 115, 15, 126};

// The 221 slots of the key settings dialog in table order (frame, then pages
// 1..7, each page's hotspots and rows before its labels, so a hotspot under a
// label is the element hit); rectangles 1080-based, unused slots id -1.
SkinTable KeySettingsElements();
