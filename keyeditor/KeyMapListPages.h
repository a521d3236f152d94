#pragma once

#include "app/elements/KeySettingsElements.h"
#include "keyeditor/KeyMapState.h"
#include "model/ConfigDocument.h"

// A page of the key settings dialog with a library and a working list: the
// Single/Combo, Macro and Emulate pages.
struct KeyMapListPage {
    int page;
    RecordList KeyMapState::*library;
    RecordList KeyMapState::*working;
    // The document's library that OK on this page writes.
    RecordList ConfigDocument::*stored;
    // Rows of the list boxes, which is also each list's sizeOfView.
    int rows;
    KeySettingsListRows libraryRows;
    KeySettingsListRows recordRows;
    int newId;
    int removeId;
    // printf formats of the first free name of a new entry.
    const char* newNameZh;
    const char* newNameEn;
};

// Null for a page without lists.
const KeyMapListPage* KeyMapListPageOf(int page);
