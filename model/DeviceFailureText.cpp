#include "model/DeviceFailureText.h"

#include <cstring>

namespace {

// Where the README's udev rule is and how it goes in.
constexpr const char* kRuleHintEn =
    "install the udev rule 70-zarn.rules as the README says (sudo cp packaging/udev/70-zarn.rules "
    "/etc/udev/rules.d/), then unplug and replug the keyboard";
constexpr const char* kRuleHintZh =
    "请按 README 安装 udev 规则 70-zarn.rules（sudo cp packaging/udev/70-zarn.rules "
    "/etc/udev/rules.d/），然后重新插拔键盘";

bool isDeviceNode(const std::string& node) {
    return node.rfind("/dev/", 0) == 0;
}

std::string describeEn(const HidFailure& failure) {
    const std::string& node = failure.node;
    switch (failure.kind) {
    case HidFailureKind::PermissionDenied:
        if (isDeviceNode(node)) {
            return "Permission denied on " + node + ": " + kRuleHintEn + ".";
        }
        return "Permission denied on " + node + ": this user may not connect to the keyboard's socket.";
    case HidFailureKind::Busy:
        return node + " is busy: another program is using the keyboard. Try again when it has finished.";
    case HidFailureKind::Gone:
        return "The keyboard went away (" + node + ").";
    case HidFailureKind::NoAnswer:
        return "The keyboard did not answer (" + node + ").";
    case HidFailureKind::SystemError:
        return node + ": " + std::strerror(failure.systemError);
    case HidFailureKind::None:
    case HidFailureKind::NotFound:
        break;
    }
    return {};
}

std::string describeZh(const HidFailure& failure) {
    const std::string& node = failure.node;
    switch (failure.kind) {
    case HidFailureKind::PermissionDenied:
        if (isDeviceNode(node)) {
            return "没有权限打开 " + node + "：" + kRuleHintZh + "。";
        }
        return "没有权限连接键盘的套接字 " + node + "。";
    case HidFailureKind::Busy:
        return node + " 正被另一个程序使用，请等它完成后再试。";
    case HidFailureKind::Gone:
        return "键盘已断开（" + node + "）。";
    case HidFailureKind::NoAnswer:
        return "键盘没有应答（" + node + "）。";
    case HidFailureKind::SystemError:
        return node + "：" + std::strerror(failure.systemError);
    case HidFailureKind::None:
    case HidFailureKind::NotFound:
        break;
    }
    return {};
}

} // namespace

std::string DescribeDeviceFailure(const HidFailure& failure, const std::string& language) {
    return language == "zh-CN" ? describeZh(failure) : describeEn(failure);
}

bool IsAccessFailure(const HidFailure& failure) {
    switch (failure.kind) {
    case HidFailureKind::NotFound:
    case HidFailureKind::PermissionDenied:
    case HidFailureKind::Busy:
    case HidFailureKind::Gone:
        return true;
    default:
        return false;
    }
}
