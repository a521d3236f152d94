#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// Fuzz input as a file that never touches the disk, reachable by path.
class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : fd_(::memfd_create("zarn-fuzz", MFD_CLOEXEC)) {
        std::size_t written = 0;
        while (fd_ >= 0 && written < size) {
            ssize_t n = ::write(fd_, data + written, size - written);
            if (n <= 0) {
                break;
            }
            written += static_cast<std::size_t>(n);
        }
    }
    ~MemoryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};
