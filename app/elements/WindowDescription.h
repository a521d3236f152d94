#pragma once

#include "app/elements/ImageIds.h"
#include "app/elements/SkinItem.h"

// Everything that makes a window of the program what it is, besides its
// commands: how many element slots it has, the colour that cuts its shape,
// the size its images are drawn at and its element table.  The window, the
// skin generator and the tests all read it from here.
struct WindowDescription {
    SkinWindow window;
    int slotCount; // unfilled slots keep id -1
    ColorRef colourKey;
    // The images' size at scale 1, and the window's when its background is missing.
    int width;
    int height;
    // The element table for a ModelType, 1080-based; null for what is not a window.
    SkinTable (*elements)(int modelType);
};

const WindowDescription& DescribeWindow(SkinWindow window);

// The pages of a window's image sets in ascending order: {1..7} for the key
// settings dialog, {0} for a window with one set.
std::vector<int> ImagePages(SkinWindow window);

// The role of a window's image of a variant on a page; false when it has none.
bool FindImageRole(SkinWindow window, ImageVariant variant, int page, ImageRole* role);
