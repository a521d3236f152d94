#include "app/COrvoApp.h"
#include "app/COrvoDlg.h"
#include "app/elements/MainWindowElements.h"
#include "model/DeviceBridge.h"
#include "tests/app/GuiHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// From a click on a key of the main window to the keyboard: the program's own
// wiring opens the key settings dialog, whose Combo comes from the virtual
// keyboard; WriteKeys sends it, and the simulated keyboard holds it.
TEST(KeyEdit, AComboPickedOnTheVirtualKeyboardReachesTheKeyboard) {
    GuiHarness gui(3);
    COrvoApp program(gui.doc, gui.prompts, 1.0f);
    program.context().clicks = gui.context.clicks;
    program.context().pauses = gui.context.pauses;
    COrvoDlg window(program.context());
    ASSERT_TRUE(window.initialise());
    window.show();

    bool sawVirtualKeyboard = false;
    WhenModal(&window, [&](QWidget* modal) {
        auto& settings = *static_cast<SkinnedDialog*>(modal);
        ClickOn(settings, 102); // Combo
        ClickOn(settings, 105); // New, and its offered name taken
        if (auto* name = settings.findChild<QLineEdit*>(QStringLiteral("inPlaceEdit"))) {
            QTest::keyClick(name, Qt::Key_Return);
        }
        WhenModal(&settings, [&](QWidget* keyboardWindow) {
            sawVirtualKeyboard = true;
            auto& keyboard = *static_cast<SkinnedDialog*>(keyboardWindow);
            for (const int code : {67, 43, 58}) { // left Ctrl, A, C
                ClickOn(keyboard, code + 99);
            }
            ClickOn(keyboard, 89); // OK
        });
        ClickOn(settings, 109); // Virtual Key Input
        ClickOn(settings, 88);  // OK
    });
    const SkinRect& key = window.element(KeyElementId(43))->rect;
    ClickAt(window, QPoint((key.left + key.right) / 2, (key.top + key.bottom) / 2));
    ASSERT_TRUE(sawVirtualKeyboard);

    const std::size_t slot = 2 * 43;
    ASSERT_EQ(gui.doc.keyMode[slot], kTypeCombo);
    EXPECT_EQ(gui.doc.keyLists[slot].items, (std::vector<std::string>{"LCTRL", "A", "C"}));
    EXPECT_EQ(gui.doc.unsavedKeyChanges, 1);

    ClickAt(window, At(window, 380, 110)); // WriteKeys
    EXPECT_EQ(gui.doc.unsavedKeyChanges, 0);
    EXPECT_EQ(gui.prompts.texts().value(0), QStringLiteral("OK!!"));

    ConfigDocument keyboard;
    keyboard.BuildCatalogue();
    keyboard.modelType = 3;
    ASSERT_TRUE(keyboard.device.__createDev());
    ASSERT_TRUE(ReadKeysFromDevice(keyboard, {}));
    EXPECT_EQ(keyboard.keyMode[slot], kTypeCombo);
    EXPECT_EQ(keyboard.keyLists[slot].items, (std::vector<std::string>{"LCTRL", "A", "C"}));
}

} // namespace
