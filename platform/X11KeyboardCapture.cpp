#include "platform/X11KeyboardCapture.h"

#include "platform/KeyMessageKinds.h"
#include "platform/X11KeyTable.h"
#include "platform/X11Library.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Another client may hold the keyboard for a moment (a menu closing, a key
// still held from the click that started the capture): try for a while.
constexpr int kGrabAttempts = 20;
constexpr auto kGrabRetryPause = std::chrono::milliseconds(25);

// A display exists only where libX11 was loaded.
struct DisplayCloser {
    void operator()(Display* display) const { x11Library(nullptr)->closeDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

class X11KeyboardCapture final : public KeyboardCapture {
public:
    X11KeyboardCapture(const X11Library& x11, DisplayPtr display, int wakeRead, int wakeWrite,
                       KeyboardCaptureCallback callback)
        : x11_(x11), display_(std::move(display)), wakeRead_(wakeRead), wakeWrite_(wakeWrite),
          callback_(std::move(callback)) {
        thread_ = std::thread([this] { readEvents(); });
    }

    ~X11KeyboardCapture() override {
        stopping_ = true;
        const char byte = 1;
        [[maybe_unused]] const auto n = ::write(wakeWrite_, &byte, 1);
        thread_.join();
        x11_.ungrabKeyboard(display_.get(), CurrentTime);
        x11_.flush(display_.get());
        ::close(wakeRead_);
        ::close(wakeWrite_);
    }

private:
    void readEvents() {
        Display* display = display_.get();
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        while (!stopping_) {
            while (!stopping_ && x11_.pending(display) > 0) {
                XEvent event;
                x11_.nextEvent(display, &event);
                if (event.type == KeyPress || event.type == KeyRelease) {
                    deliver(event.xkey);
                }
            }
            if (!stopping_ && ::poll(fds, 2, -1) < 0 && errno != EINTR) {
                return;
            }
            if (fds[0].revents & (POLLHUP | POLLERR)) {
                return;
            }
        }
    }

    unsigned long keysymOf(XKeyEvent& event) const {
        // The keypad's NumLock layer is the second keysym of the key, as the
        // X server itself resolves it.
        const unsigned long base = x11_.lookupKeysym(&event, 0);
        if (event.state & Mod2Mask) {
            const unsigned long numeric = x11_.lookupKeysym(&event, 1);
            if (IsKeypadKey(numeric)) {
                return numeric;
            }
        }
        return base;
    }

    void deliver(XKeyEvent& event) {
        const auto key = virtualKeyFromKeysym(keysymOf(event));
        if (!key) {
            return;
        }
        const bool down = event.type == KeyPress;
        // X key codes are the kernel's key codes plus 8; those are the keyboard's scan codes.
        const std::uint32_t scanCode = event.keycode >= 8 ? event.keycode - 8 : 0;
        kinds_.deliver(callback_, *key, down, scanCode, static_cast<std::uint32_t>(event.time));
    }

    const X11Library& x11_;
    DisplayPtr display_;
    int wakeRead_;
    int wakeWrite_;
    KeyboardCaptureCallback callback_;
    KeyMessageKinds kinds_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<KeyboardCapture> StartX11KeyboardCapture(KeyboardCaptureCallback callback,
                                                         CaptureFailure* failure) {
    const X11Library* x11 = x11Library(nullptr);
    if (x11 == nullptr) {
        *failure = CaptureFailure::NoX11Library;
        return nullptr;
    }
    DisplayPtr display(x11->openDisplay(nullptr));
    if (!display) {
        *failure = CaptureFailure::NoDisplay;
        return nullptr;
    }
    // Held keys repeat as presses alone, as on the original platform, not as release-press pairs.
    x11->setDetectableAutoRepeat(display.get(), True, nullptr);
    int status = GrabNotViewable;
    for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
        status = x11->grabKeyboard(display.get(), DefaultRootWindow(display.get()), False, GrabModeAsync,
                                   GrabModeAsync, CurrentTime);
        if (status == GrabSuccess) {
            break;
        }
        std::this_thread::sleep_for(kGrabRetryPause);
    }
    if (status != GrabSuccess) {
        *failure = CaptureFailure::GrabTaken;
        return nullptr;
    }
    x11->flush(display.get());
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        *failure = CaptureFailure::SystemError;
        x11->ungrabKeyboard(display.get(), CurrentTime);
        return nullptr;
    }
    return std::make_unique<X11KeyboardCapture>(*x11, std::move(display), wake[0], wake[1],
                                                std::move(callback));
}
