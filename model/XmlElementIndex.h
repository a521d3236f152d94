#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Where one element sits in the document text and how it is linked to the
// others.  The fields are kept at full width in memory, so that a very long
// start tag or deep nesting cannot wrap a packed field.
struct XmlElementRecord {
    std::uint32_t start = 0;          // offset of the opening "<"
    std::uint32_t length = 0;         // through the end tag, or the start tag alone
    std::uint32_t startTagLength = 0; // "<" to ">" inclusive
    std::uint32_t endTagLength = 0;   // name length + 3, 0 for an empty-element tag
    std::uint32_t parent = 0;
    std::uint32_t firstChild = 0;
    std::uint32_t nextSibling = 0;
    std::uint32_t previousSibling = 0; // on a first child: the parent's last child
    bool isFirstChild = false;
    bool unended = false;
    bool errorInside = false;
    bool illFormed = false; // record 0 only
};

// Element records numbered from 0 (the document itself), kept in pages of
// 65,536, so that growing copies at most one page.
class XmlElementIndex {
public:
    static constexpr std::size_t kPageSize = 65536;

    // Record 0 zeroed, the next free record 1, room for at least `capacity`.
    void reset(std::size_t capacity);
    // Files a new zeroed record, growing by half when full.
    std::uint32_t add();
    std::uint32_t next() const { return next_; }
    std::size_t capacity() const { return capacity_; }

    XmlElementRecord& operator[](std::uint32_t n) { return pages_[n / kPageSize][n % kPageSize]; }
    const XmlElementRecord& operator[](std::uint32_t n) const { return pages_[n / kPageSize][n % kPageSize]; }

private:
    void grow(std::size_t capacity);

    std::vector<std::vector<XmlElementRecord>> pages_;
    std::size_t capacity_ = 0;
    std::uint32_t next_ = 1;
};
