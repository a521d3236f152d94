#include "lighting/COrvoDialogBkLightSettings.h"

#include "app/elements/BkLightElements.h"
#include "app/elements/ProgressElements.h"
#include "tests/app/GuiHarness.h"
#include "tools/zarn-sim/SimStateFile.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace {

constexpr int kKeyA = 43;

int keyId(int keyNumber) {
    return 99 + keyNumber;
}

KeyColours documentColours() {
    KeyColours colours{};
    for (int k = 0; k <= kKeyCount; ++k) {
        colours[static_cast<std::size_t>(k)] = {k, 2 * k, 255 - k};
    }
    return colours;
}

// What the keyboard holds at the start: unlike the document everywhere.
KeyColours keyboardColours() {
    KeyColours colours{};
    for (int k = 1; k <= kKeyCount; ++k) {
        colours[static_cast<std::size_t>(k)] = {255 - k, 100, (7 * k) % 256};
    }
    return colours;
}

SimMemory memoryWithLights(const KeyColours& colours) {
    SimMemory memory;
    for (int k = 1; k <= kKeyCount; ++k) {
        for (int c = 0; c < 3; ++c) {
            memory.lights[static_cast<std::size_t>(3 * (k - 1) + c)] =
                static_cast<std::uint8_t>(colours[static_cast<std::size_t>(k)][static_cast<std::size_t>(c)]);
        }
    }
    return memory;
}

// The colours of keys 1..103 in a simulated keyboard's state file.
std::optional<KeyColours> storedColours(const std::string& statePath) {
    SimMemory memory;
    std::string error;
    if (loadSimState(statePath, &memory, &error) != SimStateLoad::Loaded) {
        return std::nullopt;
    }
    KeyColours colours{};
    for (int k = 1; k <= kKeyCount; ++k) {
        for (int c = 0; c < 3; ++c) {
            colours[static_cast<std::size_t>(k)][static_cast<std::size_t>(c)] =
                memory.lights[static_cast<std::size_t>(3 * (k - 1) + c)];
        }
    }
    return colours;
}

// The keyboard saves its memory once it has taken a write; that may come a
// moment after the host sent the last report.
bool keyboardComesToHold(const std::string& statePath, const KeyColours& colours) {
    return WaitUntil([&] { return storedColours(statePath) == colours; }, 3000);
}

// A ZarnRGB.BT that starts with `colours` in its light area and keeps its
// memory in a state file the test can read, opened as the main window would.
struct LitKeyboard {
    static SimServerOptions withState(const std::string& statePath, const KeyColours& colours,
                                      SimServerOptions options) {
        std::string error;
        EXPECT_TRUE(saveSimState(statePath, memoryWithLights(colours), &error)) << error;
        options.statePath = statePath;
        return options;
    }

    explicit LitKeyboard(const KeyColours& colours, SimServerOptions options = {})
        : directory(RunningSim::makeTemporaryDirectory()), statePath(directory + "/state"),
          gui(1, 1.0f, withState(statePath, colours, options)) {
        EXPECT_TRUE(gui.doc.device.__createDev());
    }
    ~LitKeyboard() {
        gui.worker.waitIdle();
        gui.sim.reset();
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }

    std::string directory;
    std::string statePath;
    GuiHarness gui;
};

enum class Fault { None, Silent, Gone, Cancelled };

struct TransferCase {
    const char* name;
    int command;
    Fault fault;
};

void PrintTo(const TransferCase& c, std::ostream* os) {
    *os << c.name;
}

SimServerOptions optionsFor(Fault fault) {
    SimServerOptions options;
    if (fault == Fault::Silent) {
        options.stopAfter = 0; // connected, answers nothing
    } else if (fault == Fault::Cancelled) {
        options.latency = std::chrono::milliseconds(150); // slow enough to cancel in time
    }
    return options;
}

class TransferTest : public ::testing::TestWithParam<TransferCase> {};

TEST_P(TransferTest, SaysHowItEndedAndKeepsTheDocumentRight) {
    const TransferCase& c = GetParam();
    LitKeyboard keyboard(keyboardColours(), optionsFor(c.fault));
    GuiHarness& gui = keyboard.gui;
    gui.doc.keyColours = documentColours();
    COrvoDialogBkLightSettings dialog(gui.context);
    dialog.show();
    gui.prompts.nextColour(QColor(9, 9, 9));
    ClickOn(dialog, keyId(kKeyA));
    KeyColours edited = documentColours();
    edited[kKeyA] = {9, 9, 9};
    ASSERT_EQ(dialog.workingColours(), edited);

    if (c.fault == Fault::Cancelled) {
        WhenModal(&dialog, [](QWidget* progress) {
            QTest::qWait(30);
            ClickOn(*static_cast<SkinnedDialog*>(progress), kProgressCmdCancel);
        });
    }
    if (c.fault == Fault::Gone) {
        gui.sim.reset(); // unplugged while the dialog is open
    }
    ClickOn(dialog, c.command);
    // A cancelled operation runs on: what it does when it ends counts too.
    gui.worker.waitIdle();
    QCoreApplication::processEvents();

    const bool ok = c.fault == Fault::None;
    EXPECT_EQ(gui.prompts.texts(), QStringList{ok ? QStringLiteral("OK!") : QStringLiteral("Failed!")});
    EXPECT_EQ(gui.prompts.shown().front().caption, QStringLiteral("ZarnRGB.BT"));
    if (c.command == kBlCmdRead) {
        EXPECT_TRUE(dialog.isVisible());
        KeyColours expected = edited;
        if (ok) {
            expected = keyboardColours();
            expected[0] = documentColours()[0]; // entry 0 is no key: the keyboard has none for it
        }
        EXPECT_EQ(dialog.workingColours(), expected);
        EXPECT_EQ(gui.doc.keyColours, ok ? expected : documentColours());
    } else {
        EXPECT_FALSE(dialog.isVisible()) << "Write closes whatever the result";
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(gui.doc.keyColours, edited);
        if (ok) {
            KeyColours sent = edited;
            sent[0] = {0, 0, 0}; // entry 0 never reaches the keyboard
            EXPECT_TRUE(keyboardComesToHold(keyboard.statePath, sent));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BkLightSettings, TransferTest,
                         ::testing::Values(TransferCase{"Read", kBlCmdRead, Fault::None},
                                           TransferCase{"ReadSilent", kBlCmdRead, Fault::Silent},
                                           TransferCase{"ReadCancelled", kBlCmdRead, Fault::Cancelled},
                                           TransferCase{"Write", kBlCmdWrite, Fault::None},
                                           TransferCase{"WriteGone", kBlCmdWrite, Fault::Gone},
                                           TransferCase{"WriteCancelled", kBlCmdWrite, Fault::Cancelled}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BkLightSettings, ReadChangeOneKeyWriteAndTheKeyboardHoldsExactlyThat) {
    LitKeyboard keyboard(keyboardColours());
    GuiHarness& gui = keyboard.gui;
    COrvoDialogBkLightSettings dialog(gui.context);
    dialog.show();
    ClickOn(dialog, kBlCmdRead);
    ASSERT_EQ(dialog.workingColours(), keyboardColours());

    gui.prompts.nextColour(QColor(0x12, 0x34, 0x56));
    ClickOn(dialog, keyId(50));
    ClickOn(dialog, kBlCmdWrite);
    EXPECT_EQ(gui.prompts.texts(), (QStringList{QStringLiteral("OK!"), QStringLiteral("OK!")}));

    KeyColours expected = keyboardColours();
    expected[50] = {0x12, 0x34, 0x56};
    EXPECT_EQ(gui.doc.keyColours, expected);
    EXPECT_TRUE(keyboardComesToHold(keyboard.statePath, expected));
}

} // namespace
