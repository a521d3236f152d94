#include "keyeditor/KeyMapListPages.h"

namespace {

const KeyMapListPage kListPages[] = {
    {1, &KeyMapState::comboLibrary, &KeyMapState::comboKeys, &ConfigDocument::predefinedCombos, 6,
     kComboLibraryRows, kComboKeysRows, 105, 106, "组合键%d", "New Combo %d"},
    {2, &KeyMapState::macroLibrary, &KeyMapState::macroRecords, &ConfigDocument::predefinedMacros, 9,
     kMacroLibraryRows, kMacroRecordRows, 205, 206, "宏定义%d", "New Macro %d"},
    {3, &KeyMapState::emulationLibrary, &KeyMapState::emulationRecords, &ConfigDocument::predefinedEmulations,
     9, kEmulationLibraryRows, kEmulationRecordRows, 305, 306, "模拟击键%d", "New Emu %d"},
};

} // namespace

const KeyMapListPage* KeyMapListPageOf(int page) {
    for (const KeyMapListPage& list : kListPages) {
        if (list.page == page) {
            return &list;
        }
    }
    return nullptr;
}
