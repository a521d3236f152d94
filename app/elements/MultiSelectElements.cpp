#include "app/elements/MultiSelectElements.h"

#include "app/elements/BkLightElements.h"

namespace {

constexpr int kKeyShiftDown = 43;

SkinItem withTip(SkinItem item) {
    item.tips = {{"zh-CN", "tip"}};
    return item;
}

// The picture of this dialog was drawn with the number row from "8" on one
// unit narrower, and from "9" on also one unit further left.
SkinRect movedKeyRect(int keyNumber, SkinRect rect) {
    rect.top += kKeyShiftDown;
    rect.bottom += kKeyShiftDown;
    if (keyNumber >= 22 && keyNumber <= 27) {
        rect.right -= 1;
    }
    if (keyNumber >= 23 && keyNumber <= 27) {
        rect.left -= 1;
    }
    return rect;
}

} // namespace

SkinTable MultiSelectElements() {
    SkinTable table;
    table.reserve(kMultiSelectSlots);
    SkinItem close = Hotspot(kMsCmdClose, {1205, 9, 1238, 45});
    close.captions = {{"zh-CN", ""}, {"en-US", ""}};
    table.push_back(withTip(close));
    SkinItem setColour = Hotspot(kMsCmdSetColour, {570, 46, 682, 80});
    setColour.captions = {{"zh-CN", "设置"}, {"en-US", "Set Color"}};
    table.push_back(withTip(setColour));
    table.push_back(withTip(Label(kMsCmdClose, "多键设置面板", "Set Multi Key", {550, 13, 702, 45})));
    table.push_back(withTip(Label(kMsCmdSetColour, "设置", "Set Color", {570, 53, 682, 80})));

    const SkinTable backlight = BkLightElements();
    for (const SkinItem& item : backlight) {
        if (item.keyNumber > 0) {
            SkinItem key = item;
            key.rect = movedKeyRect(key.keyNumber, key.rect);
            table.push_back(key);
        }
    }
    table.resize(kMultiSelectSlots);
    return table;
}
