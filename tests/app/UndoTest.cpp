#include "app/COrvoApp.h"
#include "app/COrvoDlg.h"
#include "app/elements/BkLightElements.h"
#include "app/elements/FirmwareUpdateElements.h"
#include "app/elements/MainWindowElements.h"
#include "model/ProfileFile.h"
#include "tests/app/GuiHarness.h"
#include "tests/support/UserPart.h"

#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kMultimediaTab = 93;
constexpr int kMuteButton = 408;
constexpr int kKeySettingsOk = 88;

// The program as it runs, its own dialogs wired in, on a simulated keyboard.
struct Program {
    explicit Program(int model, SimServerOptions server = {})
        : gui(model, 1.0f, std::move(server)), app(gui.doc, gui.prompts, 1.0f), window(app.context()) {
        app.context().clicks = gui.context.clicks;
        app.context().pauses = gui.context.pauses;
        initialised = window.initialise();
        window.show();
    }

    // Key `key` set to Mute in the key settings dialog and confirmed.
    void setToMute(int key) {
        WhenModal(&window, [](QWidget* modal) {
            auto& settings = *static_cast<SkinnedDialog*>(modal);
            ClickOn(settings, kMultimediaTab);
            ClickOn(settings, kMuteButton);
            ClickOn(settings, kKeySettingsOk);
        });
        ClickOn(window, KeyElementId(key));
    }
    void undo() { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }
    void redo(bool withY = false) {
        if (withY) {
            QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
        } else {
            QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
    }

    GuiHarness gui;
    COrvoApp app;
    COrvoDlg window;
    bool initialised = false;
};

std::size_t LinesIn(const std::string& path) {
    std::ifstream file(path);
    std::size_t lines = 0;
    for (std::string line; std::getline(file, line);) {
        ++lines;
    }
    return lines;
}

// A profile of the model with a combo on S, a library entry and a colour.
std::string WriteProfile(const std::string& directory, int model) {
    ConfigDocument doc;
    doc.BuildCatalogue();
    doc.modelType = model;
    doc.ResetToDefaults();
    RecordList combo;
    combo.sizeOfView = 6;
    combo.AppendItem("LCTRL");
    combo.AppendItem("C");
    doc.keyMode[2 * 44] = kTypeCombo;
    doc.keyLists[2 * 44] = combo;
    AddToLibrary(doc.predefinedCombos, combo);
    doc.keyColours[2] = {10, 20, 30};
    const std::string path = directory + "/edited.pro";
    EXPECT_TRUE(SaveProfile(doc, path));
    return path;
}

// Every kind of edit in turn, then all of them undone and redone with the
// shortcuts, the document compared after each step; the keyboard sees none of it.
TEST(Undo, StepsThroughEveryKindOfEditAndSendsNothing) {
    const std::string directory = RunningSim::makeTemporaryDirectory();
    SimServerOptions server;
    server.tracePath = directory + "/trace";
    Program p(4, server);
    ASSERT_TRUE(p.initialised);
    ConfigDocument& doc = p.gui.doc;
    std::vector<UserPart> states{UserPartOf(doc)};
    std::vector<std::string> names;
    const auto edited = [&](const char* name) {
        ASSERT_FALSE(UserPartOf(doc) == states.back()) << name << " changed nothing";
        states.push_back(UserPartOf(doc));
        names.emplace_back(name);
    };

    p.setToMute(43);
    ASSERT_EQ(doc.keyMode[2 * 43], kTypeMultimedia);
    edited("key settings OK");

    ClickOn(p.window, kCmdDefaults);
    edited("Default");

    p.gui.prompts.nextFile(QString::fromStdString(WriteProfile(directory, 4)));
    ClickOn(p.window, kCmdOpenProfile);
    ASSERT_EQ(doc.keyMode[2 * 44], kTypeCombo);
    edited("Open profile");
    ASSERT_TRUE(WaitUntil([&] { return doc.clicksBlocked == 0; }, 2000));

    WhenModal(&p.window, [&](QWidget* modal) {
        auto& backlight = *static_cast<SkinnedDialog*>(modal);
        p.gui.prompts.nextColour(QColor(0, 255, 128));
        ClickOn(backlight, KeyElementId(43));
        ClickOn(backlight, kBlCmdOk);
    });
    ClickOn(p.window, kCmdBacklight);
    ASSERT_EQ(doc.keyColours[43], (Rgb{0, 255, 128}));
    edited("backlight OK");

    // The backlight dialog's Read changes the document even when the dialog is cancelled.
    WhenModal(&p.window, [&](QWidget* modal) {
        auto& backlight = *static_cast<SkinnedDialog*>(modal);
        ClickOn(backlight, kBlCmdRead);
        ClickOn(backlight, kBlCmdCancel);
    });
    ClickOn(p.window, kCmdBacklight);
    edited("backlight Read");

    ClickOn(p.window, kCmdReadAll);
    edited("Read");

    const std::size_t reportsBefore = LinesIn(server.tracePath);
    ASSERT_GT(reportsBefore, 0u);
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        p.undo();
        EXPECT_TRUE(UserPartOf(doc) == states[i]) << "undo of " << names[i];
    }
    p.undo(); // nothing left: the document stays
    EXPECT_TRUE(UserPartOf(doc) == states.front());
    for (std::size_t i = 1; i < states.size(); ++i) {
        p.redo(i % 2 == 0);
        EXPECT_TRUE(UserPartOf(doc) == states[i]) << "redo of " << names[i - 1];
    }
    QTest::qWait(50);
    EXPECT_EQ(LinesIn(server.tracePath), reportsBefore);
}

// The flag says whether the keyboard holds what the document shows: it
// follows undo past a write both ways, and stays up when a write broke off
// or a firmware update may have changed the keyboard.
TEST(Undo, UnsavedFlagComparesWithWhatTheKeyboardHolds) {
    Program p(3);
    ASSERT_TRUE(p.initialised);
    ConfigDocument& doc = p.gui.doc;

    p.setToMute(43);
    EXPECT_EQ(doc.unsavedKeyChanges, 1);
    p.undo(); // back to what the program started with
    EXPECT_EQ(doc.unsavedKeyChanges, 0);
    p.redo();
    EXPECT_EQ(doc.unsavedKeyChanges, 1);

    ClickOn(p.window, kCmdWriteKeys);
    ASSERT_EQ(doc.unsavedKeyChanges, 0);
    p.undo(); // the keyboard holds Mute, the document no longer
    EXPECT_NE(doc.keyMode[2 * 43], kTypeMultimedia);
    EXPECT_EQ(doc.unsavedKeyChanges, 1);
    p.redo(true);
    EXPECT_EQ(doc.keyMode[2 * 43], kTypeMultimedia);
    EXPECT_EQ(doc.unsavedKeyChanges, 0);

    // A firmware update leaves the keyboard with its factory layout here
    // (the layout is not written back): Mute is unwritten again.
    const std::string firmware = RunningSim::makeTemporaryDirectory() + "/Zarn_v2.hex";
    std::ofstream(firmware) << ":0100000000FF\r\n:00000001FF\r\n";
    WhenModal(&p.window, [&](QWidget* modal) {
        auto& update = *static_cast<SkinnedDialog*>(modal);
        p.gui.prompts.nextFile(QString::fromStdString(firmware));
        ClickOn(update, kFirmwareCmdOpen);
        p.gui.prompts.nextAnswer(PromptAnswer::Ok); // downloaded
        p.gui.prompts.nextAnswer(PromptAnswer::No); // the layout not written back
        const std::size_t said = p.gui.prompts.shown().size();
        ClickOn(update, kFirmwareCmdUpdate);
        EXPECT_TRUE(WaitUntil([&] { return p.gui.prompts.shown().size() >= said + 2; }, 20000));
        ClickOn(update, kFirmwareCmdClose);
    });
    ClickOn(p.window, kCmdFirmware);
    p.undo();
    p.redo();
    EXPECT_EQ(doc.keyMode[2 * 43], kTypeMultimedia);
    EXPECT_EQ(doc.unsavedKeyChanges, 1);

    ClickOn(p.window, kCmdWriteKeys);
    p.setToMute(44);
    p.app.context().dialogs.deviceOperation = [](QWidget*, int) {
        return ProgressOutcome::Failed;
    };
    ClickOn(p.window, kCmdWriteKeys);
    ASSERT_EQ(doc.unsavedKeyChanges, 1);
    p.undo(); // the document as last written, but the keyboard may hold part of the failed write
    EXPECT_NE(doc.keyMode[2 * 44], kTypeMultimedia);
    EXPECT_EQ(doc.unsavedKeyChanges, 1);
}

} // namespace
