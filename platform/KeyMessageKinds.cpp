#include "platform/KeyMessageKinds.h"

#include "platform/KeyboardCapture.h"

namespace {

constexpr std::uint32_t kLeftCtrl = 0xA2;
constexpr std::uint32_t kRightCtrl = 0xA3;
constexpr std::uint32_t kLeftAlt = 0xA4;
constexpr std::uint32_t kRightAlt = 0xA5;

} // namespace

unsigned KeyMessageKinds::next(std::uint32_t vkCode, bool down) {
    // An Alt press counts as held for its own message; an Alt release still does.
    if (down) {
        leftAlt_ = leftAlt_ || vkCode == kLeftAlt;
        rightAlt_ = rightAlt_ || vkCode == kRightAlt;
    }
    const bool system = (leftAlt_ || rightAlt_) && !(leftCtrl_ || rightCtrl_);
    switch (vkCode) {
    case kLeftAlt:
        leftAlt_ = down;
        break;
    case kRightAlt:
        rightAlt_ = down;
        break;
    case kLeftCtrl:
        leftCtrl_ = down;
        break;
    case kRightCtrl:
        rightCtrl_ = down;
        break;
    default:
        break;
    }
    if (system) {
        return down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    return down ? WM_KEYDOWN : WM_KEYUP;
}

void KeyMessageKinds::deliver(const KeyboardCaptureCallback& callback, const VirtualKey& key, bool down,
                              std::uint32_t scanCode, std::uint32_t time) {
    KBDLLHOOKSTRUCT hook;
    hook.vkCode = key.vkCode;
    hook.scanCode = scanCode;
    hook.flags = key.extended ? LLKHF_EXTENDED : 0;
    hook.time = time;
    callback(next(key.vkCode, down), hook);
}
