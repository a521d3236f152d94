#pragma once

#include <string>
#include <vector>

class ConfigDocument;

// One thing in which two layouts differ: a key's assignment on one layer,
// or its colour.
struct LayoutDifference {
    int key = 0;
    int layer = 0;       // for an assignment: 0 top, 1 Fn
    bool colour = false; // the key's colour rather than an assignment
    friend bool operator==(const LayoutDifference&, const LayoutDifference&) = default;
};

// The keys of `a` and `b` that would make the keyboard behave differently,
// in key order (top layer, Fn layer, then colour): assignments are compared
// by the definitions they send (see KeyDefinition), so a profile and the
// keyboard it was written to are equal; colours only when asked.
std::vector<LayoutDifference> CompareLayouts(const ConfigDocument& a, const ConfigDocument& b, bool colours);

// One layer's line of the main window's status text for a key, in the
// document's language: "Top layer Key: Single A", "Fn layer Key: Not set ".
std::string LayerStatusText(const ConfigDocument& doc, int key, int layer);

// "#RRGGBB" of a key's colour.
std::string ColourText(const ConfigDocument& doc, int key);
