#pragma once

#include <string>
#include <vector>

// The nested list behind combos, macros, emulations and the three libraries.
// In an assignment list the entries are record lines (steps); in a library
// each entry is one saved item: its text the name, its child the content.
// View indices are rows of the list box that shows the list, relative to
// viewStartAt; out-of-range indices are absorbed, never fatal.
class RecordList {
public:
    int sizeOfView = 0;
    int viewStartAt = 0;
    int cursorPos = 0;
    std::vector<std::string> items;
    std::vector<RecordList> children; // always as long as items
    int cycles = 1;
    bool isAutoInterval = false;
    int delay = 30;
    int playMode = 0;

    void Clear();
    void CopyFrom(const RecordList& other);
    std::string ItemText(int viewIndex) const;
    RecordList ChildAt(int viewIndex) const;
    void SetChildAt(int viewIndex, const RecordList& list);
    void SetItemText(int viewIndex, const std::string& text);
    void InsertItem(int viewIndex, const std::string& text);
    // Adds an entry at the end and scrolls so that it is visible and selected.
    void AppendItem(const std::string& text);
    void DeleteItem(int viewIndex);
    void SelectIndex(int index);
    int FindItem(const std::string& text) const;
    bool SameContent(const RecordList& other) const;

    int count() const { return static_cast<int>(items.size()); }

    // Every field, children and view included.
    friend bool operator==(const RecordList&, const RecordList&) = default;
};

// Keeps a used combo, macro or emulation in its library and selects it there.
void AddToLibrary(RecordList& library, const RecordList& entry);
