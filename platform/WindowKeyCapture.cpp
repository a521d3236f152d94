#include "platform/WindowKeyCapture.h"

#include "platform/EvdevKeyTable.h"
#include "platform/WindowHandle.h"
#include "platform/WindowKeySource.h"

namespace {

class WindowKeyCapture final : public KeyboardCapture {
public:
    WindowKeyCapture(WindowHandle window, WindowKeySource& source)
        : window_(std::move(window)), source_(source) {}
    ~WindowKeyCapture() override {
        // A window that closed its handle may be gone already.
        if (window_.keySource() == &source_) {
            source_.stopKeyFeed();
        }
    }

private:
    WindowHandle window_;
    WindowKeySource& source_;
};

} // namespace

std::unique_ptr<KeyboardCapture>
StartWindowKeyCapture(const WindowHandle& window, KeyboardCaptureCallback callback, CaptureFailure* failure) {
    WindowKeySource* source = window.keySource();
    if (source == nullptr || !source->startKeyFeed(std::move(callback))) {
        *failure = CaptureFailure::NoWindowKeys;
        return nullptr;
    }
    return std::make_unique<WindowKeyCapture>(window, *source);
}

void WindowKeyTranslator::keyEvent(std::uint32_t nativeScanCode, bool down, bool autoRepeat,
                                   std::uint32_t time) {
    // A held key repeats as presses alone on the original platform; toolkits
    // also repeat its release, which would end the key early in a recording.
    if (autoRepeat && !down) {
        return;
    }
    if (nativeScanCode < kEvdevOffset) {
        return;
    }
    const std::uint32_t code = nativeScanCode - kEvdevOffset;
    if (const auto key = virtualKeyFromEvdev(code)) {
        kinds_.deliver(callback_, *key, down, code, time);
    }
}
