#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Colours are kept as the original platform's COLORREF: 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb24(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

struct SkinRect {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// Text-drawing flags of a caption, combined with |: one horizontal placement
// (left, centre, right) and optionally the vertical centre; without it the
// text starts at the top of its rectangle.
inline constexpr int kTextLeft = 0;
inline constexpr int kTextCentre = 1;
inline constexpr int kTextRight = 2;
inline constexpr int kTextVCentre = 4;
inline constexpr int kTextHorizontalMask = 3;

// A child control's place, 1080-based as x, y, width and height; each value
// is scaled on its own.
struct ControlPlace {
    int x;
    int y;
    int width;
    int height;
};

// One painted, clickable element of a skinned window.  Rectangles are written
// in 1080-based pixels; a window scales the hotspots (not the labels) by its
// ScaleFactor when it fills its table.
struct SkinItem {
    int id = -1;
    std::map<std::string, std::string> captions; // by UiLanguage
    std::map<std::string, std::string> tips;
    SkinRect rect;
    ColorRef textColour = Rgb24(200, 200, 200);
    ColorRef selectedTextColour = Rgb24(200, 200, 200);
    int keyNumber = -1;
    int code = -1;
    std::uint8_t selected = 0;
    std::uint8_t isLabel = 0;
    std::uint8_t scaledLabel = 0;
    std::uint8_t shown = 1;
    std::uint8_t hovered = 0;
    int textFormat = kTextCentre;
    int fontIndex = 13;
};

using SkinTable = std::vector<SkinItem>;

// Builders that keep element tables readable as rows of data.
SkinItem Hotspot(int id, SkinRect rect);
SkinItem Label(int id, const std::string& zh, const std::string& en, SkinRect rect,
               int textFormat = kTextCentre, int fontIndex = 13);
SkinItem KeyElement(int id, int keyNumber, const std::string& caption, SkinRect rect);
