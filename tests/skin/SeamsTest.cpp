#include "device/COrvoHWI.h"
#include "skin/HighResolutionClock.h"
#include "skin/KeyboardHook.h"
#include "skin/QtUserPrompts.h"
#include "tests/support/FakeWindowKeys.h"
#include "tests/support/MessageRecorder.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct TypedKey {
    unsigned message;
    std::uint32_t virtualKey;
    bool extended;
};

// What the dialogs see from the test double must be what the device
// library's hook posts for the same keystroke.
TEST(KeyboardHookSeam, TheDoublePostsWhatTheDeviceHookPosts) {
    ::unsetenv("DISPLAY"); // the real hook must not grab the desktop of whoever runs the suite
    const TypedKey keys[] = {{WM_KEYDOWN, 0x41, false},
                             {WM_KEYUP, 0x41, false},
                             {WM_SYSKEYDOWN, 0x12, false},
                             {WM_SYSKEYUP, 0xA5, true},
                             {WM_KEYDOWN, 0x0D, true}};
    MessageRecorder device;
    FakeWindowKeys deviceKeys;
    device.window().setKeySource(&deviceKeys);
    MessageRecorder scripted;
    ScriptedKeyboardHook hook;
    hook.install(scripted.window());
    ASSERT_TRUE(InstallHook(device.window()).installed());
    for (const TypedKey& key : keys) {
        KBDLLHOOKSTRUCT event;
        event.vkCode = key.virtualKey;
        event.flags = key.extended ? LLKHF_EXTENDED : 0;
        KeyBoardProc(0, key.message, reinterpret_cast<LPARAM>(&event));
        EXPECT_TRUE(hook.type(key.message, key.virtualKey, key.extended));
    }
    UninstallHook();
    EXPECT_EQ(scripted.messages(), device.messages());

    const MessageRecorder::Message up = scripted.messages().at(3);
    const HookKey decoded = DecodeHookKey(up.wParam, up.lParam);
    EXPECT_EQ(decoded.virtualKey, 0xA5);
    EXPECT_TRUE(decoded.release);
    EXPECT_TRUE(decoded.systemKey);
    EXPECT_TRUE(decoded.extended);

    hook.uninstall();
    EXPECT_FALSE(hook.type(WM_KEYDOWN, 0x41)) << "no window holds the hook";
    EXPECT_EQ(hook.installs(), 1);
    EXPECT_EQ(hook.uninstalls(), 1);
}

TEST(ClockSeam, MillisecondsFromTheCounter) {
    ManualClock clock;
    const std::int64_t start = clock.counter();
    EXPECT_GT(start, 0) << "0 means no time yet to the recorder";
    clock.advance(std::chrono::microseconds(70'999));
    EXPECT_EQ(clock.millisecondsSince(start), 70);
    SystemClock system;
    EXPECT_GT(system.frequency(), 0);
    EXPECT_GE(system.millisecondsSince(system.counter()), 0);
}

// The menu is built from its description, submenus included, and answers
// with the command of the entry chosen in it.
TEST(Prompts, PopupMenuAnswersTheCommandChosenInASubmenu) {
    QtUserPrompts prompts;
    const std::vector<PromptMenuItem> items = {
        {0,
         QStringLiteral("Left Click"),
         {{1135, QStringLiteral("Press"), {}}, {1136, QStringLiteral("Release"), {}}}},
        {1147, QStringLiteral("Delete"), {}}};
    QStringList topTexts;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (const QAction* action : menu->actions()) {
            topTexts << action->text();
        }
        QTest::keyClick(menu, Qt::Key_Down); // Left Click
        QTest::keyClick(menu, Qt::Key_Right);
        QTimer::singleShot(50, [] {
            QWidget* submenu = QApplication::activePopupWidget();
            QTest::keyClick(submenu, Qt::Key_Down); // from Press, which opening selects, to Release
            QTest::keyClick(submenu, Qt::Key_Return);
        });
    });
    EXPECT_EQ(prompts.popupMenu(nullptr, QPoint(10, 10), items), std::optional<int>(1136));
    EXPECT_EQ(topTexts, (QStringList{QStringLiteral("Left Click"), QStringLiteral("Delete")}));
    EXPECT_EQ(prompts.popupMenu(nullptr, QPoint(10, 10), {}), std::nullopt)
        << "an empty menu answers nothing";
}

} // namespace
