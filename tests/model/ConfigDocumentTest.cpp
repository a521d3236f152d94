#include "model/ConfigDocument.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(ConfigDocument, StartsWithNothingReadOrBuilt) {
    ConfigDocument doc;
    EXPECT_TRUE(doc.uiLanguage.empty());
    EXPECT_EQ(doc.modelType, 0);
    EXPECT_TRUE(doc.codeNames.empty());
    EXPECT_EQ(doc.vkToCode[65], 0);
    EXPECT_EQ(doc.highestKey, -1);
    EXPECT_EQ(doc.lowestKey, -1);
    for (int counter : doc.keyCounters) {
        EXPECT_EQ(static_cast<unsigned>(counter), 0xC8C8C8C8u);
        EXPECT_LT(counter, 0);
    }
    EXPECT_EQ(doc.keyLists[17].sizeOfView, 0);
    EXPECT_FALSE(doc.progressWindow);
}

struct ResetCase {
    int model;
    int key;
    int layer;
    int code;
    int type;
};

void PrintTo(const ResetCase& c, std::ostream* os) {
    *os << "model " << c.model << " key " << c.key << " layer " << c.layer;
}

class ResetToDefaultsTest : public ::testing::TestWithParam<ResetCase> {};

TEST_P(ResetToDefaultsTest, LoadsTheModelsFactoryAssignment) {
    const ResetCase& c = GetParam();
    ConfigDocument doc;
    doc.BuildCatalogue();
    doc.modelType = c.model;
    doc.ResetToDefaults();
    const int slot = 2 * c.key + c.layer;
    EXPECT_EQ(doc.keyCode[slot], c.code);
    EXPECT_EQ(doc.keyMode[slot], c.type);
}

INSTANTIATE_TEST_SUITE_P(ConfigDocument, ResetToDefaultsTest,
                         ::testing::Values(ResetCase{3, 11, 0, 11, 1}, ResetCase{3, 11, 1, 0, 0},
                                           ResetCase{4, 11, 1, 135, 7}, ResetCase{1, 72, 0, 156, 7},
                                           ResetCase{2, 72, 1, 156, 7}, ResetCase{3, 1, 1, 150, 7},
                                           ResetCase{2, 47, 1, 171, 7}, ResetCase{4, 47, 1, 0, 0},
                                           ResetCase{0, 70, 1, 140, 7}, ResetCase{2, 76, 0, 89, 1},
                                           ResetCase{1, 73, 0, 74, 1}));

TEST(ConfigDocument, ResetClearsUserDataAndKeepsTheRest) {
    ConfigDocument doc;
    doc.BuildCatalogue();
    doc.modelType = 4;
    doc.uiLanguage = "en-US";
    doc.currentLayer = 1;
    doc.keyCounters[5] = 42;
    doc.keyColours[0] = {1, 2, 3};
    doc.keyColours[103] = {255, 255, 255};
    doc.predefinedMacros.sizeOfView = 2;
    doc.predefinedMacros.SetItemText(0, "m");
    doc.keyLists[30].sizeOfView = 9;
    doc.keyLists[30].SetItemText(0, "A");
    doc.keyLists[30].delay = 5;

    doc.ResetToDefaults();

    EXPECT_EQ(doc.predefinedMacros.count(), 0);
    EXPECT_EQ(doc.predefinedMacros.sizeOfView, 9);
    EXPECT_EQ(doc.predefinedCombos.sizeOfView, 6);
    EXPECT_EQ(doc.predefinedEmulations.sizeOfView, 9);
    EXPECT_EQ(doc.keyColours[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(doc.keyColours[103], (Rgb{0, 0, 0}));
    EXPECT_EQ(doc.keyLists[30].count(), 0);
    EXPECT_EQ(doc.keyLists[30].sizeOfView, 9);
    EXPECT_EQ(doc.keyLists[30].delay, 30);
    EXPECT_EQ(doc.uiLanguage, "en-US");
    EXPECT_EQ(doc.currentLayer, 1);
    EXPECT_EQ(doc.keyCounters[5], 42);
}

TEST(ConfigDocument, FactoryCodeChecksTheSlot) {
    ConfigDocument doc;
    doc.modelType = 4;
    EXPECT_EQ(doc.FactoryCode(2 * 11 + 1), 135);
    EXPECT_EQ(doc.FactoryCode(-1), 0);
    EXPECT_EQ(doc.FactoryCode(208), 0);
}

class RecordLineTest : public ::testing::Test {
protected:
    void SetUp() override { doc.BuildCatalogue(); }
    ConfigDocument doc;
};

TEST_F(RecordLineTest, ParsesDelaysAndKeyLines) {
    const std::pair<const char*, int> cases[] = {
        {"<120 ms>", 120},
        {"<0 ms>", 0},
        {"<65535 ms>", 65535},
        {"<x ms>", 0},
        {"ms>", 0},
        {"<99999999999 ms>", 2147483647},
        {"A", 43},
        {"A Down", 43},
        {"A UP", 43},
        {"A up", 0},
        {"Nothing", 0},
        {"", 0},
        {"-- --", 0},
        {"FN", 156},
        {"Mouse Left", 126},
        {"Left Double Click", 199},
        {"(Enter) UP", 107},
        {"\\ Down", 41},
        // The lowest virtual code of a shared name decides, even one the
        // keyboard cannot store: 95 before the power key 332, 10 before the
        // function codes named "Reserved".
        {"Sleep", 0},
        {"Sleep UP", 0},
        {"Reserved", 0},
        {"OEM specific", 0},
    };
    for (const auto& [line, value] : cases) {
        EXPECT_EQ(doc.ParseRecordLine(line), value) << '"' << line << '"';
    }
}

TEST_F(RecordLineTest, EveryNamedDeviceCodeSurvivesItsOwnNameUnlessAnEarlierCodeSharesIt) {
    // Device codes whose name first belongs to a virtual code without a
    // device code: they come back as 0.
    const std::set<int> shadowed = {76, 149, 166};
    for (int code = 1; code < 256; ++code) {
        const std::string name = doc.DeviceCodeName(code);
        if (name == "-- --") {
            continue;
        }
        const int parsed = doc.ParseRecordLine(name);
        if (shadowed.count(code) != 0) {
            EXPECT_EQ(parsed, 0) << "device code " << code;
        } else {
            EXPECT_EQ(parsed, code) << "device code " << code;
        }
    }
}

// The rule as it reads: the names in ascending virtual code, the first whose
// name, name + " UP" or name + " Down" is the line.
int linearParse(const ConfigDocument& doc, const std::string& line) {
    for (const auto& [vk, name] : doc.codeNames) {
        if (line == name || line == name + " UP" || line == name + " Down") {
            return doc.vkToCode[static_cast<std::size_t>(vk)];
        }
    }
    return 0;
}

TEST_F(RecordLineTest, TheNameIndexAgreesWithTheLinearRuleOnEveryName) {
    std::vector<std::string> lines;
    for (const auto& [vk, name] : doc.codeNames) {
        for (const char* ending : {"", " Down", " UP", " up", " DOWN", "  UP", " Down UP", " UP Down", "x"}) {
            lines.push_back(name + ending);
        }
        lines.push_back(" " + name);
        lines.push_back(name.substr(0, name.size() - 1));
    }
    // Names that are themselves a name plus an ending, names that are an
    // ending, and lines that are nothing at all.
    for (const char* line :
         {"Mouse Down", "Mouse Down Down", "Mouse Down UP", "Volume Down", "Volume Down UP", "Mouse Wheel Dn",
          "Down", "UP", " Down", " UP", "", " ", "<>", "<5", "Reserved UP"}) {
        lines.emplace_back(line);
    }
    for (const std::string& line : lines) {
        EXPECT_EQ(doc.ParseRecordLine(line), linearParse(doc, line)) << '"' << line << '"';
    }
}

class DescribeTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.BuildCatalogue();
        doc.modelType = 3;
        doc.ResetToDefaults();
    }
    void setList(int key, int layer, int mode, std::initializer_list<const char*> lines) {
        const int slot = 2 * key + layer;
        doc.keyMode[slot] = mode;
        doc.keyLists[slot].Clear();
        for (const char* line : lines) {
            doc.keyLists[slot].SetItemText(1000, line);
        }
    }
    ConfigDocument doc;
};

TEST_F(DescribeTest, SummarisesEachKindOfAssignment) {
    setList(5, 0, 3, {"A Down", "<50 ms>", "A UP"});
    EXPECT_EQ(doc.DescribeAssignment(5, 0), "A,50,A");
    setList(6, 0, 2, {"A", "B"});
    EXPECT_EQ(doc.DescribeAssignment(6, 0), "A | B");
    setList(7, 1, 4, {"X", "Y", "Z"});
    EXPECT_EQ(doc.DescribeAssignment(7, 1), "X | Y | Z");
    EXPECT_EQ(doc.DescribeAssignment(72, 1), "FN");
    EXPECT_EQ(doc.DescribeAssignment(11, 1), "");
    doc.keyMode[2 * 11] = 9;
    EXPECT_EQ(doc.DescribeAssignment(11, 0), "");
}

TEST_F(DescribeTest, MacroStepsLoseOnlyAWholeEnding) {
    // "<5>" is no delay line (too short), " Down" only counts at the end,
    // and a line that is nothing but the ending keeps it.
    setList(9, 0, 3, {"<5>", "Down Down", "x Downy", " UP", "a UP", "<7 ms>x"});
    EXPECT_EQ(doc.DescribeAssignment(9, 0), "<5>,Down,x Downy, UP,a,<7 ms>x");
}

TEST_F(DescribeTest, LongMacrosAreCutAfter120Characters) {
    setList(9, 0, 3, {});
    RecordList& list = doc.keyLists[2 * 9];
    for (int i = 0; i < 40; ++i) {
        list.SetItemText(1000, "Browser Refresh Down"); // 15 characters once the ending goes
    }
    const std::string summary = doc.DescribeAssignment(9, 0);
    // Eight steps make 8 x 15 + 7 = 127 > 120 characters: the cut follows the eighth.
    std::string expected;
    for (int i = 0; i < 8; ++i) {
        expected += (i ? "," : "") + std::string("Browser Refresh");
    }
    EXPECT_EQ(summary, expected + " ... ...");

    setList(10, 0, 3, {});
    RecordList& exact = doc.keyLists[2 * 10];
    for (int i = 0; i < 15; ++i) {
        exact.SetItemText(1000, "1234567"); // 15 x 7 + 14 = 119 characters, under the limit
    }
    EXPECT_EQ(doc.DescribeAssignment(10, 0).size(), 119u);
}

TEST_F(DescribeTest, OutOfRangeKeysAndLayersGiveEmptyText) {
    EXPECT_EQ(doc.DescribeAssignment(104, 0), "");
    EXPECT_EQ(doc.DescribeAssignment(-1, 0), "");
    EXPECT_EQ(doc.DescribeAssignment(5, 2), "");
    EXPECT_EQ(doc.DescribeAssignment(5, -1), "");
}

} // namespace
