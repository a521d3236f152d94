#include "model/ProfileFile.h"

#include "model/ConfigDocument.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::unique_ptr<ConfigDocument> factoryDocument(int model) {
    auto doc = std::make_unique<ConfigDocument>();
    doc->modelType = model;
    doc->ResetToDefaults();
    return doc;
}

RecordList macroOf(std::initializer_list<const char*> lines) {
    RecordList list;
    for (const char* line : lines) {
        list.items.emplace_back(line);
        list.children.emplace_back();
    }
    return list;
}

// A document that uses every field a profile carries.
std::unique_ptr<ConfigDocument> editedDocument() {
    auto doc = factoryDocument(3);
    RecordList macro = macroOf({"A Down", "<25 ms>", "A UP"});
    macro.cycles = 3;
    macro.isAutoInterval = true;
    macro.delay = 60;
    macro.playMode = 2;
    doc->predefinedMacros.items = {"first", "quote \" amp & lt < \xE4\xB8\xAD"};
    doc->predefinedMacros.children = {macro, RecordList{}};
    doc->predefinedMacros.viewStartAt = 1;
    doc->predefinedMacros.cursorPos = 1;
    doc->predefinedCombos.items = {"ctrl-c"};
    doc->predefinedCombos.children = {macroOf({"LCtrl", "C"})};
    doc->keyColours[1] = {255, 0, 7};
    doc->keyColours[103] = {1, 2, 3};
    doc->keyMode[2 * 5 + 1] = 3;
    doc->keyCode[2 * 5 + 1] = 0;
    doc->keyLists[2 * 5 + 1] = macro;
    doc->keyLists[2 * 5 + 1].sizeOfView = 9;
    doc->keyLists[2 * 5 + 1].viewStartAt = 1;
    return doc;
}

std::string saved(const ConfigDocument& doc, const ScratchDir& dir, const std::string& name) {
    std::string path = dir.file(name);
    EXPECT_TRUE(SaveProfile(doc, path));
    return ScratchDir::read(path);
}

TEST(ProfileSave, FactoryProfileMatchesTheGoldenFile) {
    ScratchDir dir;
    auto doc = factoryDocument(3);
    std::string golden = ScratchDir::read(std::string(ZARN_TEST_DATA_DIR) + "/factory-zarn.pro");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(saved(*doc, dir, "factory.pro"), golden);
}

TEST(ProfileSave, LayoutOfTheFirstLines) {
    ScratchDir dir;
    auto doc = factoryDocument(3);
    std::string text = saved(*doc, dir, "factory.pro");
    std::string expected = std::string(kDeclaration) +
                           "<Zarn>\r\n"
                           "<PredefinedCombo>\r\n"
                           "<List SizeOfView=\"6\" ViewStartAt=\"0\" CursorPos=\"0\" Cycles=\"1\" "
                           "IsAutoInterval=\"0\" Delay=\"30\" PlayMode=\"0\"/>\r\n"
                           "</PredefinedCombo>\r\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_NE(text.find("<KEY ID=\"1\" Level=\"1\" Mode=\"7\" HWCode=\"150\">\r\n<ComboKey>\r\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("</CurrentSettings>\r\n</Zarn>\r\n"));
}

TEST(ProfileRoundTrip, SaveLoadSaveGivesTheSameBytes) {
    ScratchDir dir;
    auto doc = editedDocument();
    std::string first = saved(*doc, dir, "first.pro");

    auto loaded = factoryDocument(3);
    loaded->keyCounters[4] = 77;
    loaded->highestKey = 4;
    ASSERT_TRUE(LoadProfile(*loaded, dir.file("first.pro")));
    EXPECT_EQ(saved(*loaded, dir, "second.pro"), first);

    EXPECT_TRUE(loaded->predefinedMacros.SameContent(doc->predefinedMacros));
    EXPECT_EQ(loaded->predefinedMacros.items, doc->predefinedMacros.items);
    EXPECT_EQ(loaded->predefinedMacros.viewStartAt, 1);
    EXPECT_EQ(loaded->predefinedMacros.cursorPos, 1);
    const RecordList& slot = loaded->keyLists[2 * 5 + 1];
    EXPECT_EQ(slot.items, doc->keyLists[2 * 5 + 1].items);
    EXPECT_EQ(slot.sizeOfView, 9);
    EXPECT_EQ(slot.viewStartAt, 1);
    EXPECT_EQ(slot.cycles, 3);
    EXPECT_TRUE(slot.isAutoInterval);
    EXPECT_EQ(slot.delay, 60);
    EXPECT_EQ(slot.playMode, 2);
    EXPECT_EQ(loaded->keyColours, doc->keyColours);
    EXPECT_EQ(loaded->keyMode, doc->keyMode);
    EXPECT_EQ(loaded->keyCode, doc->keyCode);
    // Counters are invalidated by every successful load.
    EXPECT_LT(loaded->keyCounters[4], 0);
    EXPECT_EQ(loaded->highestKey, -1);
}

// A hand-made profile for model 3: the declaration, the root and `body`.
std::string handMade(const std::string& body, const char* root = "Zarn") {
    return std::string(kDeclaration) + "<" + root + ">\r\n" + body + "</" + root + ">\r\n";
}

TEST(ProfileLoad, IdsWithGapsLandAtTheirIndex) {
    ScratchDir dir;
    std::string path =
        dir.write("gaps.pro", handMade("<PredefinedMacro><List SizeOfView=\"9\">"
                                       "<x ID=\"0\" t1=\"zero\"><List/></x>"
                                       "<x ID=\"2\" t1=\"two\"><List><x ID=\"0\" t1=\"A\"/></List></x>"
                                       "<x ID=\"0\" t1=\"again\"><List Cycles=\"4\"/></x>"
                                       "</List></PredefinedMacro>"));
    auto doc = factoryDocument(3);
    ASSERT_TRUE(LoadProfile(*doc, path));
    const RecordList& macros = doc->predefinedMacros;
    ASSERT_EQ(macros.count(), 3);
    ASSERT_EQ(macros.children.size(), 3u);
    EXPECT_EQ(macros.items[0], "again"); // a later entry with the same ID replaces text and child
    EXPECT_EQ(macros.children[0].cycles, 4);
    EXPECT_EQ(macros.items[1], "");
    EXPECT_EQ(macros.children[1].count(), 0);
    EXPECT_EQ(macros.items[2], "two");
    EXPECT_EQ(macros.children[2].items, std::vector<std::string>{"A"});
}

TEST(ProfileLoad, UntrustedValuesStayInsideTheTables) {
    ScratchDir dir;
    std::string path = dir.write(
        "hostile.pro",
        handMade(
            "<PredefinedCombo><List><x ID=\"-1\" t1=\"neg\"/><x ID=\"1000000000\" t1=\"huge\"/>"
            "<x ID=\"1\" t1=\"kept\"/></List></PredefinedCombo>"
            "<BackgroundLightSettings><AREA ID=\"0\" Red=\"9\"/><AREA ID=\"104\" Red=\"9\"/>"
            "<AREA ID=\"-5\" Red=\"9\"/><AREA ID=\"7\" Red=\"9\" Green=\"x\"/></BackgroundLightSettings>"
            "<CurrentSettings><KEY ID=\"104\" Level=\"0\" Mode=\"1\"/><KEY ID=\"3\" Level=\"2\" Mode=\"1\"/>"
            "</CurrentSettings>"));
    auto doc = factoryDocument(3);
    auto factory = factoryDocument(3);
    ASSERT_TRUE(LoadProfile(*doc, path));
    ASSERT_EQ(doc->predefinedCombos.count(), 2);
    EXPECT_EQ(doc->predefinedCombos.items[1], "kept");
    EXPECT_EQ(doc->keyColours[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(doc->keyColours[7], (Rgb{9, 0, 0}));
    EXPECT_EQ(doc->keyMode[2 * 3 + 1], factory->keyMode[2 * 3 + 1]);
}

TEST(ProfileLoad, MissingPartsReadAsEmptyAndKeepTheFactoryAssignment) {
    ScratchDir dir;
    // No combo library, a KEY without ComboKey, and the reader must still
    // find the sections and keys after them at the right level.
    std::string path = dir.write(
        "partial.pro", handMade("<PredefinedMacro><List><x ID=\"0\" t1=\"m\"/></List></PredefinedMacro>"
                                "<PredefinedEmu/>"
                                "<CurrentSettings><KEY ID=\"1\" Level=\"0\" Mode=\"1\" HWCode=\"4\"/>"
                                "<KEY ID=\"2\" Level=\"0\" Mode=\"3\" HWCode=\"0\"><ComboKey>"
                                "<List><x ID=\"0\" t1=\"B Down\"/></List></ComboKey></KEY>"
                                "</CurrentSettings>"));
    auto doc = editedDocument();
    auto factory = factoryDocument(3);
    ASSERT_TRUE(LoadProfile(*doc, path));
    EXPECT_EQ(doc->predefinedCombos.count(), 0);
    EXPECT_EQ(doc->predefinedCombos.sizeOfView, 6);
    EXPECT_EQ(doc->predefinedMacros.items, std::vector<std::string>{"m"});
    EXPECT_EQ(doc->predefinedEmulations.count(), 0);
    EXPECT_EQ(doc->predefinedEmulations.sizeOfView, 9);
    EXPECT_EQ(doc->keyCode[2], 4);
    EXPECT_EQ(doc->keyMode[4], 3);
    EXPECT_EQ(doc->keyLists[4].items, std::vector<std::string>{"B Down"});
    // Everything the file leaves out is the model's factory state, not the old document's.
    EXPECT_EQ(doc->keyColours, factory->keyColours);
    for (int slot = 6; slot < kSlotCount; ++slot) {
        EXPECT_EQ(doc->keyMode[static_cast<std::size_t>(slot)],
                  factory->keyMode[static_cast<std::size_t>(slot)]);
        EXPECT_EQ(doc->keyCode[static_cast<std::size_t>(slot)],
                  factory->keyCode[static_cast<std::size_t>(slot)]);
        EXPECT_EQ(doc->keyLists[static_cast<std::size_t>(slot)].count(), 0);
    }
}

TEST(ProfileLoad, NumbersReadAsCReadsThem) {
    struct Row {
        std::string text;
        int value;
    };
    const Row rows[] = {
        {"12abc", 12},
        {" 7", 7},
        {"\t\v\f\r\n 8", 8},
        {"-3", -3},
        {"+4", 4},
        {"3.9", 3},
        {"x1", 0},
        {"", 0},
        {"- 3", 0},
        {"0x1F", 0},
        {"&#49;2", 12},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    ScratchDir dir;
    for (const Row& row : rows) {
        std::string path = dir.write(
            "numbers.pro", handMade("<PredefinedMacro><List Delay=\"" + row.text + "\"/></PredefinedMacro>"));
        auto doc = factoryDocument(3);
        ASSERT_TRUE(LoadProfile(*doc, path));
        EXPECT_EQ(doc->predefinedMacros.delay, row.value) << row.text;
    }
}

std::string lines(const std::string& line, int count) {
    std::string xml;
    for (int i = 0; i < count; ++i) {
        xml += "<x ID=\"" + std::to_string(i) + "\" t1=\"" + line + "\"/>";
    }
    return xml;
}

std::string keyWithList(int id, int level, int mode, const std::string& listAttributes,
                        const std::string& items) {
    return "<KEY ID=\"" + std::to_string(id) + "\" Level=\"" + std::to_string(level) + "\" Mode=\"" +
           std::to_string(mode) + "\" HWCode=\"0\"><ComboKey><List " + listAttributes + ">" + items +
           "</List></ComboKey></KEY>";
}

// What the key settings dialog would not let the user enter is brought back
// inside its limits the way the dialog does it, for the assignments and for
// the libraries alike; the keyboard then takes every key.
TEST(ProfileLoad, ValuesTheEditorsClampAreClampedAsTheyWould) {
    ScratchDir dir;
    const std::string path = dir.write(
        "clamped.pro",
        handMade(
            "<PredefinedCombo><List><x ID=\"0\" t1=\"seven\"><List>" + lines("A", 7) +
            "</List></x></List></PredefinedCombo>"
            "<PredefinedMacro><List><x ID=\"0\" t1=\"m\"><List Cycles=\"0\" Delay=\"-4\"/></x></List>"
            "</PredefinedMacro>"
            "<CurrentSettings>" +
            keyWithList(1, 0, 3, "Cycles=\"300\" Delay=\"70000\"",
                        "<x ID=\"0\" t1=\"A Down\"/><x ID=\"1\" t1=\"&lt;70000 ms&gt;\"/>"
                        "<x ID=\"2\" t1=\"A UP\"/><x ID=\"3\" t1=\"&lt;-5 ms&gt;\"/>") +
            keyWithList(2, 0, 3, "IsAutoInterval=\"0\"", lines("A", 800)) +
            keyWithList(3, 0, 3, "IsAutoInterval=\"1\"", lines("A", 1601)) +
            keyWithList(4, 0, 4, "Delay=\"7000\"", lines("B", 7)) + keyWithList(5, 0, 2, "", lines("C", 7)) +
            // A list of a single key is not sent: it is left as it is.
            keyWithList(6, 0, 1, "Cycles=\"900\" PlayMode=\"7\"", lines("D", 9)) + "</CurrentSettings>"));
    auto doc = factoryDocument(3);
    ASSERT_TRUE(LoadProfile(*doc, path));
    EXPECT_EQ(doc->predefinedCombos.children[0].count(), 6);
    EXPECT_EQ(doc->predefinedMacros.children[0].cycles, 1);
    EXPECT_EQ(doc->predefinedMacros.children[0].delay, 0);
    const RecordList& macro = doc->keyLists[2];
    EXPECT_EQ(macro.cycles, 255);
    EXPECT_EQ(macro.delay, 60000);
    EXPECT_EQ(macro.items, (std::vector<std::string>{"A Down", "<65535 ms>", "A UP", "<0 ms>"}));
    EXPECT_EQ(doc->keyLists[4].count(), 799);
    EXPECT_EQ(doc->keyLists[6].count(), 1600);
    EXPECT_EQ(doc->keyLists[6].children.size(), 1600u);
    EXPECT_EQ(doc->keyLists[8].delay, 6000);
    EXPECT_EQ(doc->keyLists[8].count(), 6);
    EXPECT_EQ(doc->keyLists[10].count(), 6);
    EXPECT_EQ(doc->keyLists[12].count(), 9);
    EXPECT_EQ(doc->keyLists[12].cycles, 900);
}

struct RefusalCase {
    const char* label;
    const char* name;  // file name in the scratch folder
    std::string bytes; // written unless empty
    ProfileError error;
    int model;
    const char* detail = nullptr; // checked where it is the reason itself
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.label;
}

class ProfileRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ProfileRefusal, LeavesTheDocumentUntouched) {
    const RefusalCase& c = GetParam();
    ScratchDir dir;
    std::string path = c.bytes.empty() ? dir.file(c.name) : dir.write(c.name, c.bytes);
    auto doc = editedDocument();
    doc->modelType = c.model;
    doc->keyCounters[9] = 5;
    std::string before = saved(*doc, dir, "before.pro");
    ProfileResult result = LoadProfile(*doc, path);
    EXPECT_EQ(result.error, c.error);
    EXPECT_FALSE(result);
    if (c.detail) {
        EXPECT_EQ(result.detail, c.detail);
    }
    EXPECT_EQ(saved(*doc, dir, "after.pro"), before);
    EXPECT_EQ(doc->keyCounters[9], 5);
}

// The reasons are worded for people, never the component's result entries.
const RefusalCase kRefusals[] = {
    {"missing file", "absent.pro", "", ProfileError::CannotRead, 3, "No such file or directory"},
    {"empty file", "empty.pro", std::string(1, '\0'), ProfileError::NotWellFormed, 3, "the file is empty"},
    {"not xml", "text.pro", "just some words", ProfileError::NotWellFormed, 3, "no root element"},
    {"cut short", "cut.pro", "<Zarn", ProfileError::NotWellFormed, 3, "not well formed at line 1"},
    {"broken xml", "broken.pro", handMade("<PredefinedCombo></Oops>"), ProfileError::NotWellFormed, 3,
     "not well formed at line 3"},
    {"two roots", "twice.pro", handMade("") + "<Zarn/>", ProfileError::NotWellFormed, 3,
     "more than one root element"},
    {"another model's profile", "rgb.pro", handMade("<PredefinedCombo/>", "ZarnRGB"),
     ProfileError::WrongModel, 2, "root element ZarnRGB"},
    // No editor clamps these: the file is refused with the place and the reason.
    {"play mode the keyboard does not know", "playmode.pro",
     handMade("<CurrentSettings>" + keyWithList(5, 1, 3, "PlayMode=\"5\"", lines("A", 1)) +
              "</CurrentSettings>"),
     ProfileError::BadValue, 3, "KEY ID=5 Level=1: PlayMode 5 is not a play mode (0 to 2)"},
    {"play mode of a saved macro", "library.pro",
     handMade("<PredefinedMacro><List><x ID=\"0\" t1=\"m\"/><x ID=\"1\" t1=\"n\"><List PlayMode=\"-1\"/></x>"
              "</List></PredefinedMacro>"),
     ProfileError::BadValue, 3, "PredefinedMacro entry 1: PlayMode -1 is not a play mode (0 to 2)"},
    {"assignment type", "mode.pro",
     handMade("<CurrentSettings><KEY ID=\"3\" Level=\"0\" Mode=\"9\"/></CurrentSettings>"),
     ProfileError::BadValue, 3, "KEY ID=3 Level=0: Mode 9 is not an assignment type (0 to 8)"},
    {"device code", "code.pro",
     handMade("<CurrentSettings><KEY ID=\"4\" Level=\"0\" Mode=\"1\" HWCode=\"999\"/></CurrentSettings>"),
     ProfileError::BadValue, 3, "KEY ID=4 Level=0: HWCode 999 is not a device code (0 to 255)"},
    {"colour", "colour.pro",
     handMade("<BackgroundLightSettings><AREA ID=\"7\" Red=\"300\"/></BackgroundLightSettings>"),
     ProfileError::BadValue, 3, "AREA ID=7: Red 300 is not a colour value (0 to 255)"},
};

INSTANTIATE_TEST_SUITE_P(Files, ProfileRefusal, ::testing::ValuesIn(kRefusals));

TEST(ProfileSaveFailure, ReportedAndThePreviousFileSurvives) {
    ScratchDir dir;
    auto doc = editedDocument();
    const ProfileResult noFolder = SaveProfile(*doc, dir.file("no/such/folder.pro"));
    EXPECT_EQ(noFolder.error, ProfileError::CannotWrite);
    EXPECT_EQ(noFolder.detail, "No such file or directory");

    // A folder in the way of the rename: the save fails and leaves no temporary behind.
    std::filesystem::create_directory(dir.file("taken.pro"));
    EXPECT_EQ(SaveProfile(*doc, dir.file("taken.pro")).error, ProfileError::CannotWrite);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.file(""))) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);

    std::string path = dir.write("kept.pro", "previous");
    ASSERT_TRUE(SaveProfile(*doc, path));
    EXPECT_NE(ScratchDir::read(path), "previous");
}

TEST(ProfileSave, ReplacingKeepsTheLinkAndThePermissions) {
    namespace fs = std::filesystem;
    ScratchDir dir;
    auto doc = factoryDocument(3);
    std::string real = dir.write("real.pro", "previous");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, dir.file("link.pro"));
    ASSERT_TRUE(SaveProfile(*doc, dir.file("link.pro")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.pro")));
    EXPECT_EQ(ScratchDir::read(real), saved(*doc, dir, "plain.pro"));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
