#pragma once

#include "app/elements/SkinItem.h"

#include <vector>

// The windows that draw from the resource images.
enum class SkinWindow {
    Main,
    KeySettings,
    ScrollBar,
    FirmwareUpdate,
    Backlight,
    Progress,
    MultiKeyColour,
    VirtualKey,
};

// What an image is to its window.  Hover, selected (or assigned-key) and
// active images are full-size variants of the window's background.
enum class ImageVariant {
    Background,
    Hover,
    Selected, // also the main window's assigned-key image
    Active,   // the progress bar's filled look
    Skin,     // the scroll bar's 9 x 3 cell grid
};

enum class ImageRole {
    MainBackground,
    MainHover,
    MainAssigned,
    // Key settings dialog: seven pages, each background, hover, selected.
    KeyPage1Background,
    KeyPage1Hover,
    KeyPage1Selected,
    KeyPage2Background,
    KeyPage2Hover,
    KeyPage2Selected,
    KeyPage3Background,
    KeyPage3Hover,
    KeyPage3Selected,
    KeyPage4Background,
    KeyPage4Hover,
    KeyPage4Selected,
    KeyPage5Background,
    KeyPage5Hover,
    KeyPage5Selected,
    KeyPage6Background,
    KeyPage6Hover,
    KeyPage6Selected,
    KeyPage7Background,
    KeyPage7Hover,
    KeyPage7Selected,
    ScrollBar,
    FirmwareBackground,
    FirmwareHover,
    FirmwareActive,
    BacklightBackground,
    BacklightHover,
    ProgressBackground,
    ProgressHover,
    ProgressActive,
    MultiKeyBackground,
    MultiKeyHover,
    VirtualKeyBackground,
    VirtualKeyHover,
    VirtualKeySelected,
};

// One role and its bitmap id for each ModelType (0 takes the column of 1).
struct ImageRow {
    ImageRole role;
    SkinWindow window;
    ImageVariant variant;
    int page;      // key settings page 1..7, 0 elsewhere
    int zarnBT;    // ModelType 2
    int zarn;      // ModelType 3
    int zarnRGB;   // ModelType 4
    int zarnRGBBT; // ModelType 1 and 0
};

// Every image of the program, one row per role.
const std::vector<ImageRow>& AppImageIds();

// Bitmap id of a role for a ModelType; 0 for an unknown role.
int AppImageId(ImageRole role, int modelType);

// Every distinct bitmap id that some model uses, ascending.
std::vector<int> AllAppImageIds();
