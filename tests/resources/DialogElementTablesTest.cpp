#include "app/elements/BkLightElements.h"
#include "app/elements/KeySettingsElements.h"
#include "app/elements/MultiSelectElements.h"
#include "app/elements/VirtualKeyElements.h"
#include "app/elements/WindowDescription.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

int usedSlots(const SkinTable& table) {
    return static_cast<int>(
        std::count_if(table.begin(), table.end(), [](const SkinItem& i) { return i.id > 0; }));
}

const SkinItem& keyOf(const SkinTable& table, int keyNumber) {
    return *std::find_if(table.begin(), table.end(),
                         [keyNumber](const SkinItem& item) { return item.keyNumber == keyNumber; });
}

} // namespace

TEST(DialogElementTables, SlotCountsAndUsedSlots) {
    struct Row {
        const char* name;
        SkinTable table;
        int slots;
        int used;
    };
    const Row rows[] = {
        {"key settings", KeySettingsElements(), kKeySettingsSlots, 216},
        {"virtual key", VirtualKeyElements(), kVirtualKeySlots, 110},
        {"backlight", BkLightElements(), kBkLightSlots, 119},
        {"multi-key", MultiSelectElements(), kMultiSelectSlots, 107},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(static_cast<int>(row.table.size()), row.slots) << row.name;
        EXPECT_EQ(usedSlots(row.table), row.used) << row.name;
    }
}

// A window set up from its description finds its table, its size and an
// image set for every page; a missing row would give it another window's.
TEST(DialogElementTables, EveryWindowIsDescribed) {
    const SkinWindow windows[] = {SkinWindow::Main,      SkinWindow::KeySettings, SkinWindow::FirmwareUpdate,
                                  SkinWindow::Backlight, SkinWindow::Progress,    SkinWindow::MultiKeyColour,
                                  SkinWindow::VirtualKey};
    for (SkinWindow window : windows) {
        const WindowDescription& description = DescribeWindow(window);
        const int index = static_cast<int>(window);
        ASSERT_EQ(description.window, window) << "window " << index;
        ASSERT_NE(description.elements, nullptr) << "window " << index;
        for (int model = 0; model <= 4; ++model) {
            EXPECT_EQ(static_cast<int>(description.elements(model).size()), description.slotCount)
                << "window " << index << " model " << model;
        }
        EXPECT_GT(description.width, 0);
        EXPECT_GT(description.height, 0);
        for (int page : ImagePages(window)) {
            ImageRole role{};
            EXPECT_TRUE(FindImageRole(window, ImageVariant::Background, page, &role))
                << "window " << index << " page " << page;
        }
    }
    EXPECT_EQ(ImagePages(SkinWindow::KeySettings), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(ImagePages(SkinWindow::Main), std::vector<int>{0});
}

// Within a page, hotspots come before labels, so a label lying over a
// hotspot never takes its clicks.
TEST(DialogElementTables, KeySettingsPagesListHotspotsBeforeLabels) {
    std::map<int, bool> labelSeen;
    for (const SkinItem& item : KeySettingsElements()) {
        if (item.id <= 0) {
            continue;
        }
        const int page = KeySettingsPageOf(item.id);
        if (item.isLabel) {
            labelSeen[page] = true;
        } else {
            EXPECT_FALSE(labelSeen[page]) << "hotspot " << item.id << " after a label of page " << page;
        }
    }
}

TEST(DialogElementTables, ChoicePageButtonsCarryDistinctCodesAndTheirTips) {
    std::map<int, std::set<int>> codesByPage;
    for (const SkinItem& item : KeySettingsElements()) {
        const int page = KeySettingsPageOf(item.id);
        if (page < 4 || item.isLabel) {
            continue;
        }
        EXPECT_GT(item.code, 0) << item.id;
        EXPECT_TRUE(codesByPage[page].insert(item.code).second) << "code " << item.code << " twice";
        const bool tipped = page != 5;
        EXPECT_EQ(item.tips.count("en-US") == 1 && item.tips.count("zh-CN") == 1, tipped) << item.id;
    }
    EXPECT_EQ(codesByPage[4].size(), 18u);
    EXPECT_EQ(codesByPage[5].size(), 13u);
    EXPECT_EQ(codesByPage[6].size(), 36u);
    EXPECT_EQ(codesByPage[7].size(), 3u);
}

TEST(DialogElementTables, VirtualKeysCarryTheDeviceCodesWithoutThePowerKeys) {
    std::set<int> codes;
    for (const SkinItem& item : VirtualKeyElements()) {
        if (item.id >= kVkFirstKeyId) {
            codes.insert(item.keyNumber);
        }
    }
    EXPECT_EQ(codes.size(), 104u);
    EXPECT_EQ(*codes.begin(), 1);
    EXPECT_EQ(*codes.rbegin(), 107);
    for (int power : {75, 76, 77}) {
        EXPECT_EQ(codes.count(power), 0u) << power;
    }
    const SkinTable table = VirtualKeyElements();
    EXPECT_EQ(keyOf(table, 74).captions.at("en-US"), "Ctrl");      // id 173, last of the main block
    EXPECT_EQ(keyOf(table, 78).captions.at("en-US"), "PrtScreen"); // id 174
    EXPECT_EQ(keyOf(table, 107).captions.at("en-US"), "KPEnter");
}

TEST(DialogElementTables, MultiKeyRectanglesAreTheBacklightOnesMovedDown) {
    struct Case {
        int keyNumber;
        SkinRect rect;
    };
    const Case cases[] = {
        {1, {172, 99, 216, 144}},      {21, {494, 193, 535, 237}}, {22, {539, 193, 580, 237}},
        {23, {584, 193, 626, 237}},    {27, {768, 193, 858, 237}}, {28, {172, 241, 240, 284}},
        {103, {1038, 336, 1080, 426}},
    };
    const SkinTable multi = MultiSelectElements();
    for (const Case& c : cases) {
        EXPECT_EQ(keyOf(multi, c.keyNumber).rect, c.rect) << "key " << c.keyNumber;
    }
    const SkinTable backlight = BkLightElements();
    for (int k = 1; k <= 103; ++k) {
        const SkinItem& item = backlight[static_cast<std::size_t>(kBkLightFirstKeySlot + k - 1)];
        EXPECT_EQ(item.keyNumber, k);
        EXPECT_EQ(item.id, 99 + k);
        EXPECT_EQ(keyOf(multi, k).captions, item.captions);
    }
    EXPECT_EQ(backlight[kBkLightFirstKeySlot + 67].tips.at("en-US"), "LWin");
    EXPECT_EQ(backlight[kBkLightFirstKeySlot + 71].tips.at("en-US"), "RWin");
}
