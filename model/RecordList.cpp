#include "model/RecordList.h"

#include <cstdint>

namespace {

// View fields come from profiles too, so sums of them are formed wide enough
// that no value a file can hold overflows.
std::int64_t absoluteIndex(int viewStartAt, int viewIndex) {
    return static_cast<std::int64_t>(viewStartAt) + viewIndex;
}

bool inRange(std::int64_t index, int count) {
    return index >= 0 && index < count;
}

} // namespace

void RecordList::Clear() {
    viewStartAt = 0;
    cursorPos = 0;
    items.clear();
    children.clear();
    cycles = 1;
    isAutoInterval = false;
    delay = 30;
    playMode = 0;
}

void RecordList::CopyFrom(const RecordList& other) {
    if (&other == this) {
        return;
    }
    Clear();
    *this = other;
}

std::string RecordList::ItemText(int viewIndex) const {
    const std::int64_t index = absoluteIndex(viewStartAt, viewIndex);
    if (!inRange(index, count())) {
        return {};
    }
    return items[static_cast<std::size_t>(index)];
}

RecordList RecordList::ChildAt(int viewIndex) const {
    const std::int64_t index = absoluteIndex(viewStartAt, viewIndex);
    if (!inRange(index, count())) {
        RecordList empty;
        empty.sizeOfView = sizeOfView;
        return empty;
    }
    return children[static_cast<std::size_t>(index)];
}

void RecordList::SetChildAt(int viewIndex, const RecordList& list) {
    const std::int64_t index = absoluteIndex(viewStartAt, viewIndex);
    if (inRange(index, count())) {
        children[static_cast<std::size_t>(index)] = list;
    }
}

void RecordList::SetItemText(int viewIndex, const std::string& text) {
    const std::int64_t index = absoluteIndex(viewStartAt, viewIndex);
    if (inRange(index, count())) {
        items[static_cast<std::size_t>(index)] = text;
    } else {
        AppendItem(text);
    }
}

void RecordList::InsertItem(int viewIndex, const std::string& text) {
    const std::int64_t index = absoluteIndex(viewStartAt, viewIndex);
    if (!inRange(index, count())) {
        AppendItem(text);
        return;
    }
    // Unlike an appended one, an inserted child starts as a fresh list
    // (sizeOfView 0); stored profiles carry that difference.
    items.insert(items.begin() + index, text);
    children.insert(children.begin() + index, RecordList());
}

void RecordList::AppendItem(const std::string& text) {
    RecordList child;
    child.sizeOfView = sizeOfView;
    items.push_back(text);
    children.push_back(std::move(child));
    const std::int64_t beyondStart = static_cast<std::int64_t>(count()) - viewStartAt;
    const std::int64_t overflow = beyondStart - sizeOfView;
    if (overflow < 1) {
        cursorPos = static_cast<int>(beyondStart - 1);
    } else {
        viewStartAt = static_cast<int>(viewStartAt + overflow);
        cursorPos = sizeOfView - 1;
    }
}

void RecordList::DeleteItem(int viewIndex) {
    if (items.empty()) {
        return;
    }
    const auto last = static_cast<unsigned>(count() - 1);
    // Compared unsigned on purpose: a negative index, like one past the end,
    // deletes the last entry.
    auto index = static_cast<unsigned>(absoluteIndex(viewStartAt, viewIndex));
    if (index > last) {
        index = last;
    }
    items.erase(items.begin() + index);
    children.erase(children.begin() + index);
    if (items.empty()) {
        viewStartAt = 0;
        cursorPos = 0;
        return;
    }
    if (static_cast<unsigned>(viewStartAt) >= static_cast<unsigned>(count())) {
        viewStartAt = count() - 1;
    }
    if (cursorPos >= count() - viewStartAt) {
        cursorPos = count() - viewStartAt - 1;
    }
}

void RecordList::SelectIndex(int index) {
    if (index < 0) {
        index = 0;
    }
    if (index >= count()) {
        index = count() - 1;
    }
    if (index >= viewStartAt && index < absoluteIndex(viewStartAt, sizeOfView)) {
        cursorPos = index - viewStartAt;
    } else {
        viewStartAt = index;
        cursorPos = 0;
    }
}

int RecordList::FindItem(const std::string& text) const {
    for (int i = 0; i < count(); ++i) {
        if (items[static_cast<std::size_t>(i)] == text) {
            return i;
        }
    }
    return -1;
}

bool RecordList::SameContent(const RecordList& other) const {
    return items == other.items && cycles == other.cycles && isAutoInterval == other.isAutoInterval &&
           delay == other.delay && playMode == other.playMode;
}

void AddToLibrary(RecordList& library, const RecordList& entry) {
    for (int n = 0; n < library.count(); ++n) {
        if (!library.children[static_cast<std::size_t>(n)].SameContent(entry)) {
            continue;
        }
        if (n < library.viewStartAt || n >= absoluteIndex(library.viewStartAt, library.sizeOfView)) {
            library.viewStartAt = n;
            library.cursorPos = 0;
        } else {
            library.cursorPos = n - library.viewStartAt;
        }
        return;
    }
    // Appended directly rather than through an index far past the end, so
    // that no view position a profile carries can turn the append into an
    // overwrite of an existing entry.
    library.AppendItem("default");
    library.children.back() = entry;
}
