#include "app/elements/ImageIds.h"

#include <algorithm>
#include <set>

namespace {

using R = ImageRole;
using W = SkinWindow;
using V = ImageVariant;

// clang-format off
const std::vector<ImageRow> kImages = {
    // role                    window            variant        page  2 ZarnBT  3 Zarn  4 ZarnRGB  1/0 ZarnRGB.BT
    {R::MainBackground,        W::Main,           V::Background, 0,   146,      154,    157,       101},
    {R::MainHover,             W::Main,           V::Hover,      0,   148,      155,    158,       102},
    {R::MainAssigned,          W::Main,           V::Selected,   0,   147,      153,    156,       103},
    {R::KeyPage1Background,    W::KeySettings,    V::Background, 1,   107,      107,    107,       107},
    {R::KeyPage1Hover,         W::KeySettings,    V::Hover,      1,   108,      108,    108,       108},
    {R::KeyPage1Selected,      W::KeySettings,    V::Selected,   1,   109,      109,    109,       109},
    {R::KeyPage2Background,    W::KeySettings,    V::Background, 2,   110,      110,    110,       110},
    {R::KeyPage2Hover,         W::KeySettings,    V::Hover,      2,   111,      111,    111,       111},
    {R::KeyPage2Selected,      W::KeySettings,    V::Selected,   2,   112,      112,    112,       112},
    {R::KeyPage3Background,    W::KeySettings,    V::Background, 3,   113,      113,    113,       113},
    {R::KeyPage3Hover,         W::KeySettings,    V::Hover,      3,   114,      114,    114,       114},
    {R::KeyPage3Selected,      W::KeySettings,    V::Selected,   3,   115,      115,    115,       115},
    {R::KeyPage4Background,    W::KeySettings,    V::Background, 4,   116,      116,    116,       116},
    {R::KeyPage4Hover,         W::KeySettings,    V::Hover,      4,   117,      117,    117,       117},
    {R::KeyPage4Selected,      W::KeySettings,    V::Selected,   4,   118,      118,    118,       118},
    {R::KeyPage5Background,    W::KeySettings,    V::Background, 5,   119,      119,    119,       119},
    {R::KeyPage5Hover,         W::KeySettings,    V::Hover,      5,   120,      120,    120,       120},
    {R::KeyPage5Selected,      W::KeySettings,    V::Selected,   5,   121,      121,    121,       121},
    // The Function page differs by model: the functions a model lacks are
    // dimmed, and they must stay dimmed under the pointer and when chosen, so
    // its hover and selected images are drawn per model as well (ids from
    // 169 up are this program's own; ZarnRGB.BT has every function and keeps
    // 123 and 124).
    {R::KeyPage6Background,    W::KeySettings,    V::Background, 6,   151,      150,    152,       122},
    {R::KeyPage6Hover,         W::KeySettings,    V::Hover,      6,   169,      170,    171,       123},
    {R::KeyPage6Selected,      W::KeySettings,    V::Selected,   6,   172,      173,    174,       124},
    {R::KeyPage7Background,    W::KeySettings,    V::Background, 7,   125,      125,    125,       125},
    {R::KeyPage7Hover,         W::KeySettings,    V::Hover,      7,   126,      126,    126,       126},
    {R::KeyPage7Selected,      W::KeySettings,    V::Selected,   7,   127,      127,    127,       127},
    {R::ScrollBar,             W::ScrollBar,      V::Skin,       0,   138,      138,    138,       138},
    {R::FirmwareBackground,    W::FirmwareUpdate, V::Background, 0,   128,      128,    128,       128},
    {R::FirmwareHover,         W::FirmwareUpdate, V::Hover,      0,   129,      129,    129,       129},
    {R::FirmwareActive,        W::FirmwareUpdate, V::Active,     0,   130,      130,    130,       130},
    {R::BacklightBackground,   W::Backlight,      V::Background, 0,   131,      131,    161,       131},
    {R::BacklightHover,        W::Backlight,      V::Hover,      0,   132,      132,    162,       132},
    {R::ProgressBackground,    W::Progress,       V::Background, 0,   139,      139,    139,       139},
    {R::ProgressHover,         W::Progress,       V::Hover,      0,   140,      140,    140,       140},
    {R::ProgressActive,        W::Progress,       V::Active,     0,   141,      141,    141,       141},
    {R::MultiKeyBackground,    W::MultiKeyColour, V::Background, 0,   142,      142,    164,       142},
    {R::MultiKeyHover,         W::MultiKeyColour, V::Hover,      0,   143,      143,    165,       143},
    {R::VirtualKeyBackground,  W::VirtualKey,     V::Background, 0,   167,      167,    167,       167},
    {R::VirtualKeyHover,       W::VirtualKey,     V::Hover,      0,   168,      168,    168,       168},
    {R::VirtualKeySelected,    W::VirtualKey,     V::Selected,   0,   166,      166,    166,       166},
};
// clang-format on

int idForModel(const ImageRow& row, int modelType) {
    switch (modelType) {
    case 2:
        return row.zarnBT;
    case 3:
        return row.zarn;
    case 4:
        return row.zarnRGB;
    default:
        return row.zarnRGBBT; // 0 (no keyboard) behaves as 1
    }
}

} // namespace

const std::vector<ImageRow>& AppImageIds() {
    return kImages;
}

int AppImageId(ImageRole role, int modelType) {
    const auto row =
        std::find_if(kImages.begin(), kImages.end(), [role](const ImageRow& r) { return r.role == role; });
    return row == kImages.end() ? 0 : idForModel(*row, modelType);
}

std::vector<int> AllAppImageIds() {
    std::set<int> ids;
    for (const ImageRow& row : kImages) {
        ids.insert({row.zarnBT, row.zarn, row.zarnRGB, row.zarnRGBBT});
    }
    return {ids.begin(), ids.end()};
}
