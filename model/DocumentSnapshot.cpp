#include "model/DocumentSnapshot.h"

#include <algorithm>
#include <vector>

namespace {

// The three libraries in a fixed order, so that snapshots can name them by index.
constexpr std::array<RecordList ConfigDocument::*, 3> kLibraries{&ConfigDocument::predefinedCombos,
                                                                 &ConfigDocument::predefinedMacros,
                                                                 &ConfigDocument::predefinedEmulations};

// A part of an earlier snapshot that holds what `value` holds, else a new
// copy of `value`.  Unchanged parts match the first snapshot at once; a
// changed one is compared with each distinct version the others hold.
template <typename T, typename Part>
std::shared_ptr<const T> shareOrCopy(const T& value, std::span<const DocumentSnapshot* const> earlier,
                                     Part part) {
    std::vector<const T*> tried;
    for (const DocumentSnapshot* snapshot : earlier) {
        const std::shared_ptr<const T>& candidate = part(*snapshot);
        if (!candidate || std::find(tried.begin(), tried.end(), candidate.get()) != tried.end()) {
            continue;
        }
        if (*candidate == value) {
            return candidate;
        }
        tried.push_back(candidate.get());
    }
    return std::make_shared<const T>(value);
}

std::size_t listBytes(const RecordList& list) {
    std::size_t bytes = sizeof(RecordList);
    for (const std::string& item : list.items) {
        bytes += sizeof(std::string) + item.capacity();
    }
    for (const RecordList& child : list.children) {
        bytes += listBytes(child);
    }
    return bytes;
}

} // namespace

DocumentSnapshot DocumentSnapshot::capture(const ConfigDocument& doc,
                                           std::span<const DocumentSnapshot* const> earlier) {
    DocumentSnapshot snapshot;
    for (std::size_t i = 0; i < kLibraries.size(); ++i) {
        snapshot.libraries_[i] =
            shareOrCopy(doc.*kLibraries[i], earlier,
                        [i](const DocumentSnapshot& s) -> const List& { return s.libraries_[i]; });
    }
    snapshot.colours_ = shareOrCopy(
        doc.keyColours, earlier, [](const DocumentSnapshot& s) -> const auto& { return s.colours_; });
    snapshot.codes_ = shareOrCopy(
        SlotCodes{doc.keyMode, doc.keyCode}, earlier,
        [](const DocumentSnapshot& s) -> const auto& { return s.codes_; });

    const List none;
    SlotLists lists;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        lists[slot] =
            shareOrCopy(doc.keyLists[slot], earlier, [slot, &none](const DocumentSnapshot& s) -> const List& {
                return s.lists_ ? (*s.lists_)[slot] : none;
            });
    }
    // The table of lists is shared too when it holds the same lists: an edit
    // of a colour or a type then costs no table.
    snapshot.lists_ = shareOrCopy(
        lists, earlier, [](const DocumentSnapshot& s) -> const auto& { return s.lists_; });
    return snapshot;
}

void DocumentSnapshot::restoreOver(ConfigDocument& doc, const DocumentSnapshot& shown) const {
    for (std::size_t i = 0; i < kLibraries.size(); ++i) {
        if (libraries_[i] != shown.libraries_[i]) {
            doc.*kLibraries[i] = *libraries_[i];
        }
    }
    if (colours_ != shown.colours_) {
        doc.keyColours = *colours_;
    }
    if (codes_ != shown.codes_) {
        doc.keyMode = codes_->modes;
        doc.keyCode = codes_->codes;
    }
    if (lists_ == shown.lists_) {
        return;
    }
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        if (!shown.lists_ || (*lists_)[slot] != (*shown.lists_)[slot]) {
            doc.keyLists[slot] = *(*lists_)[slot];
        }
    }
}

bool DocumentSnapshot::sharesAllWith(const DocumentSnapshot& other) const {
    return libraries_ == other.libraries_ && colours_ == other.colours_ && codes_ == other.codes_ &&
           lists_ == other.lists_;
}

void DocumentSnapshot::addParts(PartSizes& parts) const {
    if (!lists_) {
        return; // never captured
    }
    for (const List& library : libraries_) {
        parts.emplace(library.get(), listBytes(*library));
    }
    parts.emplace(colours_.get(), sizeof(KeyColours));
    parts.emplace(codes_.get(), sizeof(SlotCodes));
    parts.emplace(lists_.get(), sizeof(SlotLists));
    for (const List& list : *lists_) {
        parts.emplace(list.get(), listBytes(*list));
    }
}
