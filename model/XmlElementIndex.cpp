#include "model/XmlElementIndex.h"

#include <algorithm>

void XmlElementIndex::grow(std::size_t capacity) {
    while (capacity_ < capacity) {
        if (pages_.empty() || pages_.back().size() == kPageSize) {
            pages_.emplace_back();
        }
        std::vector<XmlElementRecord>& page = pages_.back();
        std::size_t room = std::min(kPageSize - page.size(), capacity - capacity_);
        page.resize(page.size() + room);
        capacity_ += room;
    }
}

void XmlElementIndex::reset(std::size_t capacity) {
    grow(std::max<std::size_t>(capacity, 1));
    (*this)[0] = {};
    next_ = 1;
}

std::uint32_t XmlElementIndex::add() {
    if (next_ >= capacity_) {
        grow(capacity_ + std::max<std::size_t>(capacity_ / 2, 8));
    }
    std::uint32_t n = next_++;
    (*this)[n] = {};
    return n;
}
