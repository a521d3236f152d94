#include "app/elements/WindowDescription.h"

#include "app/elements/BkLightElements.h"
#include "app/elements/FirmwareUpdateElements.h"
#include "app/elements/KeySettingsElements.h"
#include "app/elements/MainWindowElements.h"
#include "app/elements/MultiSelectElements.h"
#include "app/elements/ProgressElements.h"
#include "app/elements/VirtualKeyElements.h"

#include <algorithm>
#include <set>

namespace {

using W = SkinWindow;

// clang-format off
const WindowDescription kWindows[] = {
    {W::Main,           kMainWindowSlots,  kMainWindowColourKey,  kMainWindowWidth,  kMainWindowHeight,
     [](int model) { return MainWindowElements(model); }},
    {W::KeySettings,    kKeySettingsSlots, kKeySettingsColourKey, kKeySettingsWidth, kKeySettingsHeight,
     [](int) { return KeySettingsElements(); }},
    {W::FirmwareUpdate, kFirmwareSlots,    kFirmwareColourKey,    kFirmwareWidth,    kFirmwareHeight,
     [](int) { return FirmwareUpdateElements(); }},
    {W::Backlight,      kBkLightSlots,     kBkLightColourKey,     kBkLightWidth,     kBkLightHeight,
     [](int) { return BkLightElements(); }},
    {W::Progress,       kProgressSlots,    kProgressColourKey,    kProgressWidth,    kProgressHeight,
     [](int) { return ProgressElements(); }},
    {W::MultiKeyColour, kMultiSelectSlots, kMultiSelectColourKey, kMultiSelectWidth, kMultiSelectHeight,
     [](int) { return MultiSelectElements(); }},
    {W::VirtualKey,     kVirtualKeySlots,  kVirtualKeyColourKey,  kVirtualKeyWidth,  kVirtualKeyHeight,
     [](int) { return VirtualKeyElements(); }},
    // Not a window: the scroll bar is drawn inside the key settings dialog and shares its key.
    {W::ScrollBar,      0,                 kKeySettingsColourKey, 0,                 0,
     nullptr},
};
// clang-format on

} // namespace

const WindowDescription& DescribeWindow(SkinWindow window) {
    const auto* found = std::find_if(std::begin(kWindows), std::end(kWindows),
                                     [window](const WindowDescription& d) { return d.window == window; });
    // Every SkinWindow has a row; the table is checked by the tests.
    return found != std::end(kWindows) ? *found : kWindows[0];
}

std::vector<int> ImagePages(SkinWindow window) {
    std::set<int> pages;
    for (const ImageRow& row : AppImageIds()) {
        if (row.window == window) {
            pages.insert(row.page);
        }
    }
    return {pages.begin(), pages.end()};
}

bool FindImageRole(SkinWindow window, ImageVariant variant, int page, ImageRole* role) {
    for (const ImageRow& row : AppImageIds()) {
        if (row.window == window && row.variant == variant && row.page == page) {
            *role = row.role;
            return true;
        }
    }
    return false;
}
