#pragma once

#include <utility>

#include <unistd.h>

// Owns one file descriptor and closes it when it goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Hands the descriptor over; it is no longer closed here.
    int release() { return std::exchange(fd_, -1); }
    // Closes now, for a writer that must know a close failed (the data of a
    // network file system may be lost then); errno tells why on false.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_ = -1;
};
