#include "device/COrvoHWI.h"
#include "tests/device/CaseName.h"
#include "tests/support/FakeWindowKeys.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <vector>

namespace {

struct HookCase {
    const char* name;
    unsigned message;
    std::uint32_t vkCode;
    std::uint32_t flags;
    WPARAM wParam;
    LPARAM lParam;
};

void PrintTo(const HookCase& c, std::ostream* out) {
    *out << c.name;
}

// Keeps the hook from grabbing the desktop of whoever runs the suite: with
// neither a display nor /dev/input, the window's own keys are the source.
class WithoutDisplay : public testing::Environment {
public:
    void SetUp() override { ::unsetenv("DISPLAY"); }
};
const auto* const kWithoutDisplay = testing::AddGlobalTestEnvironment(new WithoutDisplay);

// A window whose own keys the hook can read.
struct KeyWindow {
    KeyWindow() { recorder.window().setKeySource(&keys); }
    // As a window does when it goes: a capture ending later leaves it alone.
    ~KeyWindow() { recorder.window().close(); }
    MessageRecorder recorder;
    FakeWindowKeys keys;
    const WindowHandle& window() const { return recorder.window(); }
    std::vector<MessageRecorder::Message> messages() const { return recorder.messages(); }
};

class HookMessage : public testing::TestWithParam<HookCase> {
protected:
    void TearDown() override { UninstallHook(); }
};

TEST_P(HookMessage, PostsTheKeyToTheHookWindowAndSwallowsIt) {
    const HookCase& c = GetParam();
    KeyWindow window;
    ASSERT_TRUE(InstallHook(window.window()).installed());
    KBDLLHOOKSTRUCT event;
    event.vkCode = c.vkCode;
    event.flags = c.flags;
    EXPECT_EQ(KeyBoardProc(0, c.message, reinterpret_cast<LPARAM>(&event)), 1);
    const auto posted = window.messages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], (MessageRecorder::Message{UM_HOOK_KEY, c.wParam, c.lParam}));
}

constexpr WPARAM kBit31 = WPARAM{1} << 31;
constexpr WPARAM kBit30 = WPARAM{1} << 30;
constexpr LPARAM kBit24 = LPARAM{1} << 24;

INSTANTIATE_TEST_SUITE_P(Messages, HookMessage,
                         testing::Values(HookCase{"KeyDown", WM_KEYDOWN, 0x41, 0, 0x41, 0},
                                         HookCase{"KeyUp", WM_KEYUP, 0x41, 0, 0x41 | kBit31, 0},
                                         HookCase{"SysKeyDown", WM_SYSKEYDOWN, 0x12, 0, 0x12 | kBit30, 0},
                                         HookCase{"SysKeyUpExtended", WM_SYSKEYUP, 0xA5, LLKHF_EXTENDED,
                                                  0xA5 | kBit31 | kBit30, kBit24},
                                         HookCase{"OtherFlagsAreNotExtended", WM_KEYDOWN, 0x0D, 0x10, 0x0D,
                                                  0}),
                         CaseName());

TEST(KeyboardHook, NothingReachesTheWindowAfterUninstall) {
    KeyWindow window;
    InstallHook(window.window());
    UninstallHook();
    EXPECT_FALSE(window.keys.feeding());
    KBDLLHOOKSTRUCT event;
    event.vkCode = 0x41;
    KeyBoardProc(0, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event));
    EXPECT_TRUE(window.messages().empty());
    EXPECT_EQ(KeyBoardProc(0, WM_KEYDOWN, 0), 0);
}

TEST(KeyboardHook, ALaterInstallRedirectsTheKeys) {
    KeyWindow first;
    KeyWindow second;
    InstallHook(first.window());
    InstallHook(second.window());
    KBDLLHOOKSTRUCT event;
    event.vkCode = 0x20;
    KeyBoardProc(0, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event));
    UninstallHook();
    EXPECT_TRUE(first.messages().empty());
    EXPECT_EQ(second.messages().size(), 1u);
    EXPECT_FALSE(first.keys.feeding());
}

TEST(KeyboardHook, AHookThatCannotStartSaysWhyAndLeavesNoneRunning) {
    if (std::filesystem::exists("/dev/input")) {
        GTEST_SKIP() << "grabbing the evdev devices could take a real keyboard away from its user";
    }
    KeyWindow earlier;
    ASSERT_EQ(InstallHook(earlier.window()).source, CaptureSource::WindowKeys);
    KeyWindow window;
    window.keys.readable = false;
    const HookStatus status = InstallHook(window.window());
    EXPECT_FALSE(status.installed());
    EXPECT_EQ(status.failures,
              (std::vector<CaptureFailure>{CaptureFailure::NoInputDevices, CaptureFailure::NoWindowKeys}));
    EXPECT_FALSE(earlier.keys.feeding()) << "the earlier capture ended";
    KBDLLHOOKSTRUCT event;
    event.vkCode = 0x41;
    KeyBoardProc(0, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event));
    EXPECT_TRUE(window.messages().empty());
    EXPECT_TRUE(earlier.messages().empty());
    UninstallHook();
}

} // namespace
