#include "model/XmlElementIndex.h"

#include <algorithm>

// Room is reserved, not filled: a page's records are written only as they
// are added, so the estimate made before a parse costs no memory that the
// document does not use.
void XmlElementIndex::grow(std::size_t capacity) {
    while (capacity_ < capacity) {
        if (pages_.empty() || pages_.back().capacity() >= kPageSize) {
            pages_.emplace_back();
        }
        std::vector<XmlElementRecord>& page = pages_.back();
        const std::size_t before = page.capacity();
        page.reserve(before + std::min(kPageSize - before, capacity - capacity_));
        capacity_ += page.capacity() - before;
    }
}

void XmlElementIndex::reset(std::size_t capacity) {
    for (std::vector<XmlElementRecord>& page : pages_) {
        page.clear();
    }
    grow(std::max<std::size_t>(capacity, 1));
    pages_[0].emplace_back();
    next_ = 1;
}

std::uint32_t XmlElementIndex::add() {
    if (next_ >= capacity_) {
        grow(capacity_ + std::max<std::size_t>(capacity_ / 2, 8));
    }
    std::uint32_t n = next_++;
    // Records are added in number order, so this is the page's next slot.
    pages_[n / kPageSize].emplace_back();
    return n;
}
