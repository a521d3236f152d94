#include "platform/MappedFile.h"

#include "platform/UniqueFd.h"

#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

MappedFile::MappedFile(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        return;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (mapped == MAP_FAILED) {
        return;
    }
    data_ = static_cast<const unsigned char*>(mapped);
    size_ = size;
}

MappedFile::~MappedFile() {
    unmap();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        unmap();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void MappedFile::releasePages() const {
    if (data_ != nullptr) {
        // Never written, so nothing is lost: the pages are dropped from this
        // process only.
        ::madvise(const_cast<unsigned char*>(data_), size_, MADV_DONTNEED);
    }
}

void MappedFile::unmap() {
    if (data_ != nullptr) {
        ::munmap(const_cast<unsigned char*>(data_), size_);
        data_ = nullptr;
        size_ = 0;
    }
}
