#include "model/DeviceFailureText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

struct TextCase {
    HidFailure failure;
    const char* language;
    const char* text;
};

TEST(DeviceFailureText, NamesTheNodeAndWhatToDo) {
    const TextCase cases[] = {
        {{HidFailureKind::PermissionDenied, "/dev/hidraw3", EACCES},
         "en-US",
         "Permission denied on /dev/hidraw3: install the udev rule 70-zarn.rules as the README says (sudo cp "
         "packaging/udev/70-zarn.rules /etc/udev/rules.d/), then unplug and replug the keyboard."},
        {{HidFailureKind::PermissionDenied, "/dev/hidraw3", EACCES},
         "zh-CN",
         "没有权限打开 /dev/hidraw3：请按 README 安装 udev 规则 70-zarn.rules（sudo cp "
         "packaging/udev/70-zarn.rules /etc/udev/rules.d/），然后重新插拔键盘。"},
        // A simulated keyboard's socket has no udev rule to point at.
        {{HidFailureKind::PermissionDenied, "/tmp/zarn.sock", EACCES},
         "en-US",
         "Permission denied on /tmp/zarn.sock: this user may not connect to the keyboard's socket."},
        {{HidFailureKind::Busy, "/dev/hidraw3", EWOULDBLOCK},
         "en-US",
         "/dev/hidraw3 is busy: another program is using the keyboard. Try again when it has finished."},
        {{HidFailureKind::Busy, "/dev/hidraw3", EWOULDBLOCK},
         "zh-CN",
         "/dev/hidraw3 正被另一个程序使用，请等它完成后再试。"},
        {{HidFailureKind::Gone, "/dev/hidraw3", ENODEV}, "en-US", "The keyboard went away (/dev/hidraw3)."},
        {{HidFailureKind::NoAnswer, "/dev/hidraw3", 0},
         "en-US",
         "The keyboard did not answer (/dev/hidraw3)."},
        {{HidFailureKind::SystemError, "/dev/hidraw3", ENOTTY},
         "en-US",
         "/dev/hidraw3: Inappropriate ioctl for device"},
        // The callers' own "not connected" message says these.
        {{HidFailureKind::NotFound, "", 0}, "en-US", ""},
        {{HidFailureKind::None, "", 0}, "zh-CN", ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(DescribeDeviceFailure(c.failure, c.language), c.text)
            << static_cast<int>(c.failure.kind) << " " << c.language;
    }
}

} // namespace
