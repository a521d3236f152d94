#include "platform/VirtualHid.h"

#include "platform/TransferLock.h"
#include "platform/UniqueFd.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A peer that stops draining its socket must not block a write forever either.
constexpr int kWriteTimeoutMs = 2000;
// A server whose backlog is full makes connect wait.  A keyboard that cannot
// take a connection within these times counts as absent rather than stalling
// an enumeration or an open.
constexpr int kProbeTimeoutMs = 250;
constexpr int kOpenTimeoutMs = 2000;

bool parseHex16(std::string_view text, std::uint16_t& value) {
    if (text.size() != 4) {
        return false;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseInterface(std::string_view text, int& value) {
    if (text.empty()) {
        return false;
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool parseEntry(std::string_view entry, HidDeviceInfo& info) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos || equals + 1 == entry.size()) {
        return false;
    }
    const std::string_view ids = entry.substr(0, equals);
    const std::string_view path = entry.substr(equals + 1);
    if (ids.size() < 11 || ids[4] != ':' || ids[9] != ':') {
        return false;
    }
    if (!parseHex16(ids.substr(0, 4), info.vendorId) || !parseHex16(ids.substr(5, 4), info.productId) ||
        !parseInterface(ids.substr(10), info.interfaceNumber)) {
        return false;
    }
    info.backend = HidBackend::Virtual;
    info.path = std::string(path);
    return true;
}

bool setTimeout(int fd, int option, int milliseconds) {
    const timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::setsockopt(fd, SOL_SOCKET, option, &timeout, sizeof(timeout)) == 0;
}

int connectTo(const std::string& socketPath, int timeoutMs, HidFailure* failure = nullptr) {
    HidFailure ignored;
    HidFailure& why = failure ? *failure : ignored;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        why = {HidFailureKind::SystemError, socketPath, ENAMETOOLONG};
        return -1;
    }
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        const int error = errno;
        why = {HidFailureKindOf(error), socketPath, error};
        return -1;
    }
    setTimeout(fd, SO_SNDTIMEO, timeoutMs);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        // A full backlog that did not drain within the time-out: the keyboard
        // is there but takes no one.
        const HidFailureKind kind = error == EAGAIN ? HidFailureKind::NoAnswer : HidFailureKindOf(error);
        why = {kind, socketPath, error};
        ::close(fd);
        return -1;
    }
    why = {};
    return fd;
}

// recv and send report a time-out as EAGAIN and a peer that is gone as a
// reset or a broken pipe.
HidFailure transferFailure(int error, const std::string& path) {
    if (error == EAGAIN || error == EWOULDBLOCK) {
        return {HidFailureKind::NoAnswer, path, error};
    }
    return {HidFailureKindOf(error), path, error};
}

// The kernel enforces the time-outs (SO_SNDTIMEO, SO_RCVTIMEO), so a report
// costs one system call, as on a bare socket.
class VirtualHidConnection : public HidConnection {
public:
    VirtualHidConnection(int fd, const std::string& path)
        : socket_(fd), path_(path), lock_(TransferLock::Kind::Socket, path) {
        setTimeout(socket_.get(), SO_SNDTIMEO, kWriteTimeoutMs);
        // A hidraw write returns when the endpoint has taken the report.  The
        // smallest send buffer the kernel allows holds a handful of reports,
        // so a write blocks once the keyboard falls that far behind, as it
        // would on the wire; the default buffer would swallow a whole key
        // table and let the transfer "finish" long before the keyboard had it.
        const int smallest = 1;
        ::setsockopt(socket_.get(), SOL_SOCKET, SO_SNDBUF, &smallest, sizeof smallest);
    }

    bool write(const std::uint8_t* report, std::size_t length) override {
        if (report == nullptr) {
            return false;
        }
        ssize_t sent = -1;
        do {
            sent = ::send(socket_.get(), report, length, MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        if (sent < 0) {
            failure_ = transferFailure(errno, path_);
            return false;
        }
        if (static_cast<std::size_t>(sent) != length) {
            failure_ = {HidFailureKind::SystemError, path_, EMSGSIZE};
            return false;
        }
        return true;
    }

    int read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        if (report == nullptr) {
            return -1;
        }
        // A zero time-out in SO_RCVTIMEO would mean waiting forever.  With
        // MSG_TRUNC a message longer than the buffer tells its real length.
        const int flags = MSG_TRUNC | (timeoutMs <= 0 ? MSG_DONTWAIT : 0);
        if (timeoutMs > 0 && timeoutMs != readTimeoutMs_) {
            if (!setTimeout(socket_.get(), SO_RCVTIMEO, timeoutMs)) {
                return -1;
            }
            readTimeoutMs_ = timeoutMs;
        }
        ssize_t received = -1;
        do {
            received = ::recv(socket_.get(), report, capacity, flags);
        } while (received < 0 && errno == EINTR);
        // Zero is the peer hanging up, not an empty report.
        if (received == 0) {
            failure_ = {HidFailureKind::Gone, path_, 0};
            return -1;
        }
        if (received < 0) {
            failure_ = transferFailure(errno, path_);
            return -1;
        }
        return static_cast<int>(received);
    }

    HidFailure lastFailure() const override { return failure_; }
    HidFailure beginTransfer() override { return lock_.acquire(); }
    void endTransfer() override { lock_.release(); }

private:
    UniqueFd socket_;
    std::string path_;
    TransferLock lock_;
    HidFailure failure_;
    int readTimeoutMs_ = 0;
};

} // namespace

std::vector<HidDeviceInfo> ParseVirtualHidList(std::string_view list) {
    std::vector<HidDeviceInfo> devices;
    while (!list.empty()) {
        const auto separator = list.find(';');
        const std::string_view entry = list.substr(0, separator);
        HidDeviceInfo info;
        if (parseEntry(entry, info)) {
            devices.push_back(std::move(info));
        }
        if (separator == std::string_view::npos) {
            break;
        }
        list.remove_prefix(separator + 1);
    }
    return devices;
}

std::vector<HidDeviceInfo> EnumerateVirtualHid() {
    const char* list = std::getenv(kVirtualHidVariable);
    if (list == nullptr) {
        return {};
    }
    std::vector<HidDeviceInfo> present;
    for (auto& device : ParseVirtualHidList(list)) {
        UniqueFd probe(connectTo(device.path, kProbeTimeoutMs));
        if (probe.get() >= 0) {
            present.push_back(std::move(device));
        }
    }
    return present;
}

std::unique_ptr<HidConnection> OpenVirtualHid(const std::string& socketPath, HidFailure* failure) {
    const int fd = connectTo(socketPath, kOpenTimeoutMs, failure);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<VirtualHidConnection>(fd, socketPath);
}
