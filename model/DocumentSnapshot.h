#pragma once

#include "model/ConfigDocument.h"

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <unordered_map>

// The user's part of a document at one moment: the three libraries, the
// colours and every slot's type, code and list; what a profile stores.
// Parts are immutable and shared between snapshots, so a snapshot taken after
// an edit of one key holds a copy of that key's list only, however large the
// other lists are, and going back and forth between two profiles holds each
// of them once.
class DocumentSnapshot {
public:
    // The user part of `doc`.  A part equal to that of a snapshot in `earlier`
    // is shared with it rather than copied; the likeliest source comes first
    // (the snapshot the document was last known to hold).
    static DocumentSnapshot capture(const ConfigDocument& doc,
                                    std::span<const DocumentSnapshot* const> earlier = {});

    // Puts this snapshot's user part into `doc`, which holds `shown`: only the
    // parts in which the two differ are written.
    void restoreOver(ConfigDocument& doc, const DocumentSnapshot& shown) const;

    // Whether both hold the very same parts.  Snapshots captured one from the
    // other share every equal part, so for them this is equality of content.
    bool sharesAllWith(const DocumentSnapshot& other) const;

    // Adds this snapshot's parts to `parts` (part -> approximate bytes), so
    // that parts shared by several snapshots are counted once.
    using PartSizes = std::unordered_map<const void*, std::size_t>;
    void addParts(PartSizes& parts) const;

private:
    using List = std::shared_ptr<const RecordList>;
    struct SlotCodes {
        std::array<int, kSlotCount> modes{};
        std::array<int, kSlotCount> codes{};
        friend bool operator==(const SlotCodes&, const SlotCodes&) = default;
    };
    using SlotLists = std::array<List, kSlotCount>;

    std::array<List, 3> libraries_; // combos, macros, emulations
    std::shared_ptr<const KeyColours> colours_;
    std::shared_ptr<const SlotCodes> codes_;
    std::shared_ptr<const SlotLists> lists_;
};
