#include "model/Catalogue.h"
#include "model/ConfigDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.BuildCatalogue()); }
    ConfigDocument doc;
};

TEST_F(CatalogueTest, FillsEveryTableToItsKnownSize) {
    EXPECT_EQ(doc.codeNames.size(), 250u);
    EXPECT_EQ(std::count_if(doc.vkToCode.begin(), doc.vkToCode.end(), [](int c) { return c != 0; }), 180);
    EXPECT_EQ(doc.uiLanguage, "zh-CN");
    // The one-pass inverse: the highest virtual code of each device code wins.
    EXPECT_EQ(doc.codeToVk[0], 1023);
    EXPECT_EQ(doc.codeToVk[77], 999);
    EXPECT_EQ(doc.codeToVk[43], 65);
    EXPECT_EQ(doc.codeToVk[135], 391);
}

struct NameCase {
    int code;
    const char* name;
};

TEST_F(CatalogueTest, NamesOfDeviceCodes) {
    const NameCase cases[] = {
        {43, "A"},     {156, "FN"},     {77, "-- --"},
        {0, "-- --"},  {180, "-- --"},  {199, "Left Double Click"},
        {204, "<>|"},  {1, "ESC"},      {107, "(Enter)"},
        {-1, "-- --"}, {1024, "-- --"}, {75, "Wake Up"},
        {14, "`"},     {41, "\\"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(doc.DeviceCodeName(c.code), c.name) << "device code " << c.code;
    }
}

TEST_F(CatalogueTest, NamesOfVirtualCodesKeepTheLastWrite) {
    const NameCase cases[] = {
        {21, "IME Hangul mode"}, {25, "IME Kanji mode"}, {10, "Reserved"},  {11, "Reserved"},
        {94, "Reserved"},        {224, "Reserved"},      {252, "Reserved"}, {22, "-- --"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(doc.EntryName(c.code, false), c.name) << "virtual code " << c.code;
    }
}

TEST_F(CatalogueTest, EntryNamesCarryTheDirectionOnRequest) {
    EXPECT_EQ(doc.EntryName(65 + 512, true), "A UP");
    EXPECT_EQ(doc.EntryName(65 + 512, false), "A");
    EXPECT_EQ(doc.EntryName(65, true), "A Down");
    EXPECT_EQ(doc.EntryName(22, true), "-- --");
}

TEST_F(CatalogueTest, TypedKeysMapToDeviceCodes) {
    EXPECT_EQ(doc.TypedKeyCode(65), 43);
    EXPECT_EQ(doc.TypedKeyCode(455), 199);
    EXPECT_EQ(doc.TypedKeyCode(364), 108);
    EXPECT_EQ(doc.TypedKeyCode(431), 175);
    EXPECT_EQ(doc.TypedKeyCode(7), 0);
    EXPECT_EQ(doc.TypedKeyCode(-3), 0);
    EXPECT_EQ(doc.TypedKeyCode(5000), 0);
}

TEST_F(CatalogueTest, TypeNamesFollowTheLanguage) {
    EXPECT_EQ(doc.TypeName(3), "宏键");
    doc.uiLanguage = "en-US";
    EXPECT_EQ(doc.TypeName(3), "Macro");
    EXPECT_EQ(doc.TypeName(8), "Power");
    EXPECT_EQ(doc.TypeName(9), "");
    EXPECT_EQ(doc.TypeName(-1), "");
}

TEST(ClassifyCode, SortsCodesIntoTypes) {
    const std::pair<int, int> cases[] = {
        {0, 0},   {1, 1},   {74, 1},  {75, 8},  {77, 8},  {78, 1},  {107, 1}, {108, 5}, {125, 5},
        {126, 6}, {134, 6}, {135, 7}, {157, 6}, {158, 6}, {173, 6}, {198, 7}, {199, 1}, {204, 1},
    };
    for (const auto& [code, type] : cases) {
        EXPECT_EQ(ClassifyCode(code), type) << "code " << code;
    }
}

TEST(KeyLabels, CoverKeysOneTo103Only) {
    EXPECT_STREQ(KeyLabel(1), "Esc");
    EXPECT_STREQ(KeyLabel(41), "\\");
    EXPECT_STREQ(KeyLabel(72), "Fn");
    EXPECT_STREQ(KeyLabel(103), "KPEnter");
    EXPECT_STREQ(KeyLabel(0), "");
    EXPECT_STREQ(KeyLabel(104), "");
}

TEST(DefaultCodeTable, FactoryCodesByModel) {
    struct Case {
        int model;
        int key;
        int layer;
        int code;
    };
    const Case cases[] = {
        {3, 11, 0, 11},  {3, 11, 1, 0},  {4, 11, 1, 135},  {1, 11, 1, 135}, {0, 11, 1, 135},
        {7, 11, 1, 135}, {1, 73, 0, 74}, {2, 47, 1, 171},  {3, 47, 1, 0},   {4, 78, 1, 0},
        {2, 82, 1, 167}, {1, 2, 1, 0},   {1, 103, 0, 107},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultCodeTable(c.model)[2 * c.key + c.layer], c.code)
            << "model " << c.model << " key " << c.key << " layer " << c.layer;
    }
    for (int model = 0; model <= 4; ++model) {
        EXPECT_EQ(DefaultCodeTable(model)[2 * 72], 156);
        EXPECT_EQ(DefaultCodeTable(model)[2 * 72 + 1], 156);
        EXPECT_EQ(DefaultCodeTable(model)[2 * 1 + 1], 150);
        EXPECT_EQ(DefaultCodeTable(model)[0], 0);
        EXPECT_EQ(DefaultCodeTable(model)[1], 0);
    }
}

TEST(Models, NamesAndFirmwarePrefixes) {
    const struct {
        int model;
        const char* name;
        const char* prefix;
    } cases[] = {
        {0, "ZarnRGB.BT", "ZarnRGB.BT_"}, {1, "ZarnRGB.BT", "ZarnRGB.BT_"},
        {2, "ZarnBT", "ZarnBT_"},         {3, "Zarn", "Zarn_"},
        {4, "ZarnRGB", "ZarnRGB_"},       {9, "ZarnRGB.BT", "ZarnRGB.BT_"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(ModelName(c.model), c.name);
        EXPECT_STREQ(FirmwarePrefix(c.model), c.prefix);
    }
    EXPECT_EQ(ModelTypeFromName("ZarnRGB"), 4);
    EXPECT_EQ(ModelTypeFromName("Zarn"), 3);
    EXPECT_EQ(ModelTypeFromName("zarn"), 0);
}

} // namespace
