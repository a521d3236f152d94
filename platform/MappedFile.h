#pragma once

#include <cstddef>
#include <string>

// A file mapped read-only for as long as the object lives.  A large file of
// which little is needed for long (a resource file of images, decoded once)
// can hand back its pages between uses.
class MappedFile {
public:
    MappedFile() = default;
    // Empty (data() null) when the path is not a regular file that can be mapped.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Lets go of the pages read so far.  The mapping stays valid: what is
    // read again comes back from the system's cache.
    void releasePages() const;

private:
    void unmap();

    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
