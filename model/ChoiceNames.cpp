#include "model/ChoiceNames.h"

#include "model/Catalogue.h"

namespace {

// The tips of the Multimedia, Function and Power buttons and the captions of
// the Mouse and Power buttons, as the dialog shows them (typos included).
constexpr ChoiceName kChoiceNames[] = {
    {kTypeMultimedia, 115, "播放器", "Media Select"},
    {kTypeMultimedia, 111, "播放/暂停", "Play/Pause"},
    {kTypeMultimedia, 110, "停止", "Stop"},
    {kTypeMultimedia, 108, "下一首", "Next Track"},
    {kTypeMultimedia, 109, "上一首", "Previous Track"},
    {kTypeMultimedia, 114, "音量减小", "Volume Down"},
    {kTypeMultimedia, 113, "音量加大", "Volume Up"},
    {kTypeMultimedia, 112, "静音", "Mute"},
    {kTypeMultimedia, 121, "后退", "WWW Back"},
    {kTypeMultimedia, 122, "前进", "WWW Forward"},
    {kTypeMultimedia, 123, "停止", "WWW Stop"},
    {kTypeMultimedia, 124, "刷新", "WWW Refresh"},
    {kTypeMultimedia, 125, "收藏夹", "WWW Favorites"},
    {kTypeMultimedia, 119, "搜索", "WWW Search"},
    {kTypeMultimedia, 116, "邮件", "E-mail"},
    {kTypeMultimedia, 120, "主页", "WWW Home"},
    {kTypeMultimedia, 118, "资源管理器", "My Computer"},
    {kTypeMultimedia, 117, "计算器", "Calculator"},

    {kTypeMouse, 126, "左移", "Move Left"},
    {kTypeMouse, 127, "右移", "Move Right"},
    {kTypeMouse, 128, "上移", "Move Up"},
    {kTypeMouse, 129, "下移", "Move Down"},
    {kTypeMouse, 130, "左键", "Left Click"},
    {kTypeMouse, 131, "右键", "Right Click"},
    {kTypeMouse, 132, "中键", "Middle Click"},
    {kTypeMouse, 133, "滚轮前翻", "Wheel Up"},
    {kTypeMouse, 134, "滚轮后翻", "Wheel Down"},
    {kTypeMouse, 199, "左键双击", "Left Double Click"},
    {kTypeMouse, 158, "单元时间", "Uint Time"},
    {kTypeMouse, 157, "单元像素", "Uint Pixel"},
    {kTypeMouse, 173, "首延迟", "First Delay"},

    {kTypeFunction, 170, "蓝牙设备3", "Bluetooth device3"},
    {kTypeFunction, 169, "蓝牙设备2", "Bluetooth device2"},
    {kTypeFunction, 168, "蓝牙设备1", "Bluetooth device1"},
    {kTypeFunction, 167, "有线/无线切换", "Wire/Wireless Exchange"},
    {kTypeFunction, 151, "按键触发行程切换", "Adjust Trigger Point"},
    {kTypeFunction, 171, "游戏模式", "Game mode"},
    {kTypeFunction, 172, "节能模式", "ECO mode"},
    {kTypeFunction, 155, "Win/Mac系统切换", "Win/Mac System Exchange"},
    {kTypeFunction, 180, "蓝牙设备4", "Bluetooth device4"},
    {kTypeFunction, 153, "锁Win", "Win Lock"},
    {kTypeFunction, 154, "锁Fn", "Fn Lock"},
    {kTypeFunction, 150, "锁键盘", "Keyboard Lock"},
    {kTypeFunction, 174, "按键击打速率", "Key Repeat Rate"},
    {kTypeFunction, 175, "按键响应延迟", "Key Response Delay"},
    {kTypeFunction, 156, "FN键,按键的2个层须同时设置", "FN key,Key's 2 layer must be set to FN"},
    {kTypeFunction, 159, "可编程键盘", "Programmable Keyboard"},
    {kTypeFunction, 152, "Caps/Ctrl切换", "Caps/Ctrl Exchange"},
    {kTypeFunction, 181, "蓝牙设备5", "Bluetooth device5"},
    {kTypeFunction, 137, "演示", "Demonstrate"},
    {kTypeFunction, 138, "流星雨", "Star shower"},
    {kTypeFunction, 139, "涟漪", "Riffle"},
    {kTypeFunction, 144, "背光亮度-", "Backlight Lighteness-"},
    {kTypeFunction, 145, "背光亮度+", "Backlight Lighteness+"},
    {kTypeFunction, 160, "背光录制1", "Backlight Record1"},
    {kTypeFunction, 161, "背光录制2", "Backlight Record2"},
    {kTypeFunction, 162, "背光录制3", "Backlight Record3"},
    {kTypeFunction, 163, "背光录制4", "Backlight Record4"},
    {kTypeFunction, 135, "背光开关", "Backlight switch"},
    {kTypeFunction, 141, "背光呼吸", "Backlight Breathe"},
    {kTypeFunction, 136, "背光自定义", "Backlight Macro"},
    {kTypeFunction, 143, "频率+", "Breathe Frequence+"},
    {kTypeFunction, 142, "频率-", "Breathe Frequence-"},
    {kTypeFunction, 140, "演示暂停", "Demo Stop"},
    {kTypeFunction, 148, "背景颜色切换", "Back Color Exchange"},
    {kTypeFunction, 164, "背光录制5", "Backlight Record5"},
    {kTypeFunction, 165, "背光录制6", "Backlight Record6"},

    {kTypePower, 75, "唤醒", "WakeUp"},
    {kTypePower, 76, "睡眠", "Sleep"},
    {kTypePower, 77, "电源", "Power"},
    {kTypePower, 75, "唤醒", "Wake"},
};

} // namespace

std::span<const ChoiceName> ChoiceNames() {
    return kChoiceNames;
}
