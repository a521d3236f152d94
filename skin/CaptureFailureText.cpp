#include "skin/CaptureFailureText.h"

#include <QGuiApplication>

namespace {

struct FailureText {
    CaptureFailure failure;
    const char* zh;
    const char* en;
};

// %s is the platform plugin of the program's windows.
constexpr FailureText kTexts[] = {
    {CaptureFailure::NoX11Library, "无法加载 X11 库（libX11.so.6）。",
     "The X11 library (libX11.so.6) cannot be loaded."},
    {CaptureFailure::NoDisplay, "无法打开 X 显示。", "The X display cannot be opened."},
    {CaptureFailure::GrabTaken, "另一个程序占用了键盘，请关闭它的菜单或窗口后再试。",
     "Another program holds the keyboard: close its menu or window and try again."},
    {CaptureFailure::NoInputDevices, "/dev/input 下没有可用的键盘。",
     "There is no keyboard under /dev/input."},
    {CaptureFailure::NoInputAccess,
     "读取 /dev/input 下的键盘需要 input 组成员身份（sudo usermod -aG input $USER，然后重新登录）。",
     "Reading the keyboards under /dev/input needs membership of the input group (sudo usermod -aG input "
     "$USER, then log in again)."},
    {CaptureFailure::NoWindowKeys,
     "本窗口在当前显示平台（%s）上无法读取按键，请在 X11 或 Wayland 桌面上运行本程序。",
     "This window cannot read keys on its display platform (%s): run the program on an X11 or Wayland "
     "desktop."},
    {CaptureFailure::SystemError, "系统无法提供录制所需的资源。", "The system refused what a capture needs."},
};

std::string withPlatform(std::string text) {
    const std::size_t at = text.find("%s");
    return at == std::string::npos ? text
                                   : text.replace(at, 2, QGuiApplication::platformName().toStdString());
}

} // namespace

std::string DescribeCaptureFailures(const std::vector<CaptureFailure>& failures,
                                    const std::string& language) {
    std::string lines;
    for (const CaptureFailure failure : failures) {
        for (const FailureText& text : kTexts) {
            if (text.failure == failure) {
                if (!lines.empty()) {
                    lines += '\n';
                }
                lines += withPlatform(language == "zh-CN" ? text.zh : text.en);
            }
        }
    }
    return lines;
}
