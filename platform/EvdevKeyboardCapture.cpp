#include "platform/EvdevKeyboardCapture.h"

#include "platform/EvdevKeyTable.h"
#include "platform/KeyMessageKinds.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kKeyBitsLongs = (KEY_MAX + 1 + sizeof(long) * CHAR_BIT - 1) / (sizeof(long) * CHAR_BIT);

bool hasKey(const std::array<unsigned long, kKeyBitsLongs>& bits, unsigned code) {
    constexpr unsigned kBitsPerLong = sizeof(long) * CHAR_BIT;
    return bits[code / kBitsPerLong] >> (code % kBitsPerLong) & 1;
}

// A keyboard, not a mouse or a power button: it has letter keys.
bool isKeyboard(int fd) {
    std::array<unsigned long, kKeyBitsLongs> bits{};
    if (::ioctl(fd, EVIOCGBIT(EV_KEY, sizeof bits), bits.data()) < 0) {
        return false;
    }
    return hasKey(bits, KEY_A) && hasKey(bits, KEY_Z) && hasKey(bits, KEY_SPACE);
}

class EvdevKeyboardCapture final : public KeyboardCapture {
public:
    EvdevKeyboardCapture(std::vector<int> devices, int wakeRead, int wakeWrite,
                         KeyboardCaptureCallback callback)
        : devices_(std::move(devices)), wakeRead_(wakeRead), wakeWrite_(wakeWrite),
          callback_(std::move(callback)) {
        thread_ = std::thread([this] { readEvents(); });
    }

    ~EvdevKeyboardCapture() override {
        stopping_ = true;
        const char byte = 1;
        [[maybe_unused]] const auto n = ::write(wakeWrite_, &byte, 1);
        thread_.join();
        for (const int fd : devices_) {
            ::ioctl(fd, EVIOCGRAB, 0);
            ::close(fd);
        }
        ::close(wakeRead_);
        ::close(wakeWrite_);
    }

private:
    void readEvents() {
        std::vector<pollfd> fds;
        for (const int fd : devices_) {
            fds.push_back({fd, POLLIN, 0});
        }
        fds.push_back({wakeRead_, POLLIN, 0});
        while (!stopping_) {
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            for (std::size_t i = 0; i + 1 < fds.size() && !stopping_; ++i) {
                if (fds[i].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                    // An unplugged keyboard: stop polling it, keep the others.
                    fds[i].fd = -1;
                } else if (fds[i].revents & POLLIN) {
                    readDevice(fds[i].fd);
                }
            }
        }
    }

    void readDevice(int fd) {
        input_event events[64];
        const auto n = ::read(fd, events, sizeof events);
        if (n <= 0) {
            return;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(n) / sizeof(input_event); ++i) {
            const auto& event = events[i];
            // Value 2 is auto-repeat, which the original platform reports as another press.
            if (event.type == EV_KEY && event.value >= 0 && event.value <= 2) {
                deliver(event.code, event.value != 0, event);
            }
        }
    }

    void deliver(unsigned code, bool down, const input_event& event) {
        const auto key = virtualKeyFromEvdev(code);
        if (!key) {
            return;
        }
        kinds_.deliver(
            callback_, *key, down, code,
            static_cast<std::uint32_t>(event.input_event_sec * 1000 + event.input_event_usec / 1000));
    }

    std::vector<int> devices_;
    int wakeRead_;
    int wakeWrite_;
    KeyboardCaptureCallback callback_;
    KeyMessageKinds kinds_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace

std::unique_ptr<KeyboardCapture> StartEvdevKeyboardCapture(KeyboardCaptureCallback callback,
                                                           CaptureFailure* failure) {
    std::vector<int> devices;
    bool denied = false;
    bool grabbedElsewhere = false;
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/input", code)) {
        if (entry.path().filename().string().rfind("event", 0) != 0) {
            continue;
        }
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            denied = denied || errno == EACCES || errno == EPERM;
            continue;
        }
        if (!isKeyboard(fd)) {
            ::close(fd);
        } else if (::ioctl(fd, EVIOCGRAB, 1) == 0) {
            devices.push_back(fd);
        } else {
            grabbedElsewhere = grabbedElsewhere || errno == EBUSY;
            ::close(fd);
        }
    }
    if (devices.empty()) {
        // What the user can act on first: a missing group membership, then a
        // program holding the keyboards.
        *failure = denied             ? CaptureFailure::NoInputAccess
                   : grabbedElsewhere ? CaptureFailure::GrabTaken
                                      : CaptureFailure::NoInputDevices;
        return nullptr;
    }
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        for (const int fd : devices) {
            ::ioctl(fd, EVIOCGRAB, 0);
            ::close(fd);
        }
        *failure = CaptureFailure::SystemError;
        return nullptr;
    }
    return std::make_unique<EvdevKeyboardCapture>(std::move(devices), wake[0], wake[1], std::move(callback));
}
