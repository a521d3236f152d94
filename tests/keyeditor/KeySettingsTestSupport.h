#pragma once

#include "keyeditor/COrvoDialogKeyMapSettings.h"
#include "tests/app/GuiHarness.h"

#include <QApplication>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using Lines = std::vector<std::string>;

inline RecordList MakeList(const Lines& lines, int rows = 9) {
    RecordList list;
    list.sizeOfView = rows;
    for (const std::string& line : lines) {
        list.AppendItem(line);
    }
    list.viewStartAt = 0;
    list.cursorPos = 0;
    return list;
}

// A library of named entries, the first selected.
inline RecordList MakeLibrary(const std::vector<std::pair<std::string, RecordList>>& entries, int rows = 9) {
    RecordList library;
    library.sizeOfView = rows;
    for (const auto& [name, content] : entries) {
        library.AppendItem(name);
        library.children.back() = content;
    }
    library.viewStartAt = 0;
    library.cursorPos = 0;
    return library;
}

inline int Slot(int key, int layer) {
    return 2 * key + layer;
}

// A simulated keyboard's document at its factory assignment, and the key
// settings dialog opened on one of its slots as the main window opens it.
struct KeySettingsFixture {
    explicit KeySettingsFixture(int modelType = 3, float scale = 1.0f) : gui(modelType, scale) {
        gui.doc.ResetToDefaults();
    }

    std::unique_ptr<COrvoDialogKeyMapSettings> open(int key, int layer = 0) {
        gui.doc.selectedKey = key;
        gui.doc.currentLayer = layer;
        auto dialog = std::make_unique<COrvoDialogKeyMapSettings>(gui.context);
        dialog->show();
        dialog->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    void assign(int key, int layer, int mode, int code, const RecordList& list = {}) {
        const auto slot = static_cast<std::size_t>(Slot(key, layer));
        gui.doc.keyMode[slot] = mode;
        gui.doc.keyCode[slot] = code;
        gui.doc.keyLists[slot] = list;
    }

    GuiHarness gui;
};
