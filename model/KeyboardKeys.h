#pragma once

#include "model/ConfigDocument.h"

#include <array>
#include <optional>
#include <vector>

// The key assignments the keyboard holds, as far as this run knows: the
// definitions last written or read in full.  Kept as the definitions a write
// sends (KeyDefinition), so that what the keyboard never sees (list view
// positions, a list left behind in a slot of a single key) does not count as
// a difference.
class KeyboardKeys {
public:
    // The keyboard holds the keys of `doc`: they were written or read in full.
    void holdKeysOf(const ConfigDocument& doc);
    // A write broke off: the keyboard holds some mix nobody knows.
    void forget();
    bool known() const { return definitions_.has_value(); }

    // True when writing `doc` would change the keyboard, or nobody knows what it holds.
    bool differFrom(const ConfigDocument& doc) const;

private:
    using Definitions = std::array<std::vector<int>, kSlotCount>;
    static Definitions definitionsOf(const ConfigDocument& doc);

    std::optional<Definitions> definitions_;
};
