#include "model/KeyboardKeys.h"
#include "tests/support/SampleMacro.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct KeyboardCase {
    const char* name;
    std::function<void(ConfigDocument&)> edit;
    bool differs;
};

void PrintTo(const KeyboardCase& c, std::ostream* os) {
    *os << c.name;
}

class KeyboardKeysTest : public ::testing::TestWithParam<KeyboardCase> {};

// Only what a write would send counts as a difference.
TEST_P(KeyboardKeysTest, DiffersWhereAWriteWouldChangeTheKeyboard) {
    ConfigDocument doc;
    doc.BuildCatalogue();
    doc.modelType = 3;
    doc.ResetToDefaults();
    doc.keyMode[88] = kTypeMacro;
    doc.keyLists[88] = SampleMacro(5);
    KeyboardKeys keyboard;
    EXPECT_TRUE(keyboard.differFrom(doc)); // nothing known
    keyboard.holdKeysOf(doc);
    EXPECT_FALSE(keyboard.differFrom(doc));
    GetParam().edit(doc);
    EXPECT_EQ(keyboard.differFrom(doc), GetParam().differs);
    keyboard.forget();
    EXPECT_TRUE(keyboard.differFrom(doc));
}

INSTANTIATE_TEST_SUITE_P(
    KeyboardKeys, KeyboardKeysTest,
    ::testing::Values(
        KeyboardCase{"type", [](ConfigDocument& d) { d.keyMode[86] = kTypeNotSet; }, true},
        KeyboardCase{"code", [](ConfigDocument& d) { d.keyCode[86] = 112; }, true},
        KeyboardCase{"macro line", [](ConfigDocument& d) { d.keyLists[88].SetItemText(0, "B Down"); }, true},
        KeyboardCase{"colour",
                     [](ConfigDocument& d) {
                         d.keyColours[43] = {1, 2, 3};
                     },
                     false},
        KeyboardCase{"library", [](ConfigDocument& d) { AddToLibrary(d.predefinedMacros, SampleMacro(3)); },
                     false},
        KeyboardCase{"list view", [](ConfigDocument& d) { d.keyLists[88].SelectIndex(0); }, false},
        KeyboardCase{"list of a single key", [](ConfigDocument& d) { d.keyLists[86] = SampleMacro(3); },
                     false},
        KeyboardCase{"fixed delay while recorded delays play",
                     [](ConfigDocument& d) { d.keyLists[88].delay = 99; }, false}));

} // namespace
