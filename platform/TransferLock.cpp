#include "platform/TransferLock.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

TransferLock::TransferLock(Kind kind, std::string path) : kind_(kind), path_(std::move(path)) {}

TransferLock::~TransferLock() {
    release();
}

HidFailure TransferLock::acquire() {
    if (held_) {
        return {};
    }
    HidFailure failure = kind_ == Kind::DeviceNode ? acquireNode() : acquireSocket();
    held_ = !failure.failed();
    return failure;
}

void TransferLock::release() {
    if (!held_) {
        return;
    }
    held_ = false;
    if (!fd_) {
        return;
    }
    if (kind_ == Kind::DeviceNode) {
        ::flock(fd_.get(), LOCK_UN);
    } else {
        fd_.reset();
    }
}

// The node is kept open between transfers: the flock belongs to this open
// file, so it is the same lock every time.
HidFailure TransferLock::acquireNode() {
    if (!fd_) {
        fd_.reset(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        if (!fd_) {
            const int error = errno;
            const HidFailureKind kind = HidFailureKindOf(error);
            if (kind == HidFailureKind::Gone) {
                return {kind, path_, error};
            }
            return {};
        }
    }
    int result = 0;
    do {
        result = ::flock(fd_.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
        return {HidFailureKind::Busy, path_, EWOULDBLOCK};
    }
    return {};
}

HidFailure TransferLock::acquireSocket() {
    struct stat info {};
    if (::stat(path_.c_str(), &info) != 0) {
        const int error = errno;
        return {HidFailureKind::Gone, path_, error};
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // sun_path[0] stays 0: the name lives in the abstract namespace.
    const int length = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1,
                                     "zarn-hid-lock/%llx/%llx", static_cast<unsigned long long>(info.st_dev),
                                     static_cast<unsigned long long>(info.st_ino));
    fd_.reset(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd_) {
        return {};
    }
    const auto size =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<std::size_t>(length));
    if (::bind(fd_.get(), reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        const int error = errno;
        fd_.reset();
        if (error == EADDRINUSE) {
            return {HidFailureKind::Busy, path_, error};
        }
    }
    return {};
}
