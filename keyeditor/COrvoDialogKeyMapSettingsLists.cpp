// The libraries, record lists, macro options and scroll bars of the key
// settings dialog.

#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "controls/CSkinScrollBar.h"
#include "keyeditor/KeyMapListPages.h"
#include "keyeditor/MacroListEditing.h"
#include "keyeditor/RecordListMenu.h"
#include "model/ConfigDocument.h"

#include <QLineEdit>

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace {

constexpr int kPlayTimes = 201;
constexpr int kPlayWhileHeld = 208;
constexpr int kMacroPage = 2;

bool hasEntry(const RecordList& list, int viewIndex) {
    const std::int64_t index = std::int64_t{list.viewStartAt} + viewIndex;
    return index >= 0 && index < list.count();
}

bool inRows(KeySettingsListRows rows, int id) {
    return id >= rows.firstId && id < rows.firstId + rows.rows;
}

// A working list always has its list box's rows, and its first row and
// cursor on an entry, whatever view a profile brought along: a list whose
// cursor points nowhere would take no edits and show no selection.
void keepViewInBox(RecordList& list, int rows) {
    list.sizeOfView = rows;
    const int count = list.count();
    const std::int64_t index = std::int64_t{list.viewStartAt} + list.cursorPos;
    const bool sound = count == 0 ? list.viewStartAt == 0 && list.cursorPos == 0
                                  : list.viewStartAt >= 0 && list.viewStartAt < count &&
                                        list.cursorPos >= 0 && list.cursorPos < rows && index < count;
    if (!sound) {
        list.viewStartAt = count == 0 ? 0 : static_cast<int>(std::clamp<std::int64_t>(index, 0, count - 1));
        list.cursorPos = 0;
    }
}

std::string numbered(const char* format, int n) {
    std::string name = format;
    const std::size_t at = name.find("%d");
    return at == std::string::npos ? name : name.replace(at, 2, std::to_string(n));
}

// The model's clamp of a number edit, written back into the edit when it bites.
int clampEdit(QLineEdit& edit, int value, int (*clamp)(long long)) {
    const int clamped = clamp(value);
    if (clamped != value) {
        edit.setText(QString::number(clamped));
    }
    return clamped;
}

} // namespace

const KeyMapListPage* COrvoDialogKeyMapSettings::listPage() const {
    return KeyMapListPageOf(page());
}

RecordList& COrvoDialogKeyMapSettings::library(const KeyMapListPage& list) {
    return state_.*list.library;
}

RecordList& COrvoDialogKeyMapSettings::working(const KeyMapListPage& list) {
    return state_.*list.working;
}

void COrvoDialogKeyMapSettings::loadWorking(const KeyMapListPage& list) {
    RecordList& lib = library(list);
    keepViewInBox(lib, list.rows);
    working(list) = lib.ChildAt(lib.cursorPos);
    keepViewInBox(working(list), list.rows);
}

void COrvoDialogKeyMapSettings::showCurrentEntry(const KeyMapListPage& list) {
    loadWorking(list);
    if (list.page != 1) {
        setBarFor(*recordScrollBar_, working(list), list.rows);
    }
}

void COrvoDialogKeyMapSettings::storeWorking(const KeyMapListPage& list) {
    RecordList& lib = library(list);
    lib.SetChildAt(lib.cursorPos, working(list));
}

bool COrvoDialogKeyMapSettings::runListAction(int id) {
    const KeyMapListPage* list = listPage();
    if (list == nullptr) {
        return false;
    }
    if (id == list->newId || id == list->removeId) {
        // The combo library is edited in Combo mode only.
        if (list->page != 1 || state_.singleMode == 0) {
            id == list->newId ? newEntry(*list) : removeEntry(*list);
        }
        return true;
    }
    if (inRows(list->libraryRows, id)) {
        libraryRowClicked(*list, id - list->libraryRows.firstId);
        return true;
    }
    if (list->page != 1 && inRows(list->recordRows, id)) {
        recordRowClicked(*list, id - list->recordRows.firstId);
        return true;
    }
    return false;
}

void COrvoDialogKeyMapSettings::newEntry(const KeyMapListPage& list) {
    RecordList& lib = library(list);
    lib.AppendItem(std::string());
    adjustRange(*libraryScrollBar_, 1);
    showCurrentEntry(list);
    update();

    const char* format = doc_.uiLanguage == "zh-CN"   ? list.newNameZh
                         : doc_.uiLanguage == "en-US" ? list.newNameEn
                                                      : "";
    std::string name;
    if (*format != '\0') {
        const std::unordered_set<std::string> taken(lib.items.begin(), lib.items.end());
        for (int n = 1; name.empty() || taken.contains(name); ++n) {
            name = numbered(format, n);
        }
    }
    openInPlaceEdit(list.libraryRows.firstId + lib.cursorPos, QString::fromStdString(name));
    state_.renaming = true;
}

void COrvoDialogKeyMapSettings::removeEntry(const KeyMapListPage& list) {
    RecordList& lib = library(list);
    if (lib.count() == 0) {
        return;
    }
    if (hasEntry(lib, lib.cursorPos)) {
        lib.DeleteItem(lib.cursorPos);
        adjustRange(*libraryScrollBar_, -1);
    }
    showCurrentEntry(list);
}

void COrvoDialogKeyMapSettings::libraryRowClicked(const KeyMapListPage& list, int row) {
    RecordList& lib = library(list);
    if (!hasEntry(lib, row)) {
        return;
    }
    storeWorking(list);
    if (row == lib.cursorPos) {
        openInPlaceEdit(list.libraryRows.firstId + row, QString::fromStdString(lib.ItemText(row)));
        state_.renaming = true;
        return;
    }
    lib.cursorPos = row;
    showCurrentEntry(list);
}

void COrvoDialogKeyMapSettings::recordRowClicked(const KeyMapListPage& list, int row) {
    RecordList& steps = working(list);
    if (!hasEntry(steps, row)) {
        return;
    }
    if (row != steps.cursorPos) {
        steps.cursorPos = row;
        return;
    }
    const std::string line = steps.ItemText(row);
    if (list.page == kMacroPage && IsDelayLine(line)) {
        openInPlaceEdit(list.recordRows.firstId + row, QString::fromStdString(DelayLineNumber(line)));
        state_.editingDelay = true;
    }
}

void COrvoDialogKeyMapSettings::openInPlaceEdit(int rowId, const QString& text) {
    const SkinItem* row = item(rowId);
    if (row == nullptr) {
        return;
    }
    inPlaceEdit_->setGeometry(windowRect(*row));
    inPlaceEdit_->setText(text);
    inPlaceEdit_->setEnabled(true);
    inPlaceEdit_->show();
    inPlaceEdit_->raise();
    inPlaceEdit_->setFocus();
    inPlaceEdit_->selectAll();
}

void COrvoDialogKeyMapSettings::commitInPlaceEdit() {
    if (!state_.renaming && !state_.editingDelay) {
        return;
    }
    // Cleared first: hiding the edit moves the focus, which commits again.
    state_.renaming = false;
    state_.editingDelay = false;
    // The row under the edit decides what the text is.
    const QRect place = inPlaceEdit_->geometry();
    int rowId = -1;
    for (const SkinItem& element : elements()) {
        if (element.isLabel == 0 && isActive(element) && windowRect(element) == place) {
            rowId = element.id;
            break;
        }
    }
    const std::string text = inPlaceEdit_->text().toStdString();
    if (const KeyMapListPage* list = listPage(); list != nullptr) {
        if (inRows(list->libraryRows, rowId)) {
            library(*list).SetItemText(rowId - list->libraryRows.firstId, text);
        } else if (list->page == kMacroPage && inRows(list->recordRows, rowId)) {
            RecordList& macro = working(*list);
            macro.SetItemText(macro.cursorPos, DelayLine(ClampDelayLine(ReadDecimal(text))));
            storeWorking(*list);
        }
    }
    inPlaceEdit_->setEnabled(false);
    inPlaceEdit_->hide();
    update();
}

void COrvoDialogKeyMapSettings::choosePlayMode(int id) {
    RecordList& macro = state_.macroRecords;
    macro.playMode = id == kPlayTimes ? 0 : id == kPlayWhileHeld ? 1 : 2;
    // The loop count means something only when the macro plays that many times.
    countEdit_->setEnabled(id == kPlayTimes);
    if (id == kPlayTimes) {
        countEdit_->setFocus();
    }
    storeWorking(*KeyMapListPageOf(kMacroPage));
}

int COrvoDialogKeyMapSettings::takeAutoDelay() {
    return clampEdit(*autoDelayEdit_, ReadDecimal(autoDelayEdit_->text().toStdString()), ClampAutoDelay);
}

void COrvoDialogKeyMapSettings::chooseAutomaticDelay() {
    RecordList& macro = state_.macroRecords;
    macro.delay = takeAutoDelay();
    adjustRange(*recordScrollBar_, SwitchToAutomaticDelay(macro));
    storeWorking(*KeyMapListPageOf(kMacroPage));
    autoDelayEdit_->setEnabled(true);
    autoDelayEdit_->setFocus();
}

void COrvoDialogKeyMapSettings::chooseRecordedDelays() {
    adjustRange(*recordScrollBar_, SwitchToRecordedDelays(state_.macroRecords));
    storeWorking(*KeyMapListPageOf(kMacroPage));
    autoDelayEdit_->setEnabled(false);
}

void COrvoDialogKeyMapSettings::countEdited(const QString& text) {
    const int value = ReadDecimal(text.toStdString());
    if (page() == kMacroPage) {
        state_.macroRecords.cycles = clampEdit(*countEdit_, value, ClampCycles);
        storeWorking(*KeyMapListPageOf(kMacroPage));
    } else if (page() == 3) {
        state_.emulationRecords.delay = clampEdit(*countEdit_, value, ClampEmulationDelay);
        storeWorking(*KeyMapListPageOf(3));
    }
}

void COrvoDialogKeyMapSettings::autoDelayEdited(const QString&) {
    if (page() != kMacroPage) {
        return;
    }
    state_.macroRecords.delay = takeAutoDelay();
    storeWorking(*KeyMapListPageOf(kMacroPage));
}

void COrvoDialogKeyMapSettings::rightClicked(int id, QPoint screenPos) {
    if (page() != kMacroPage || !inRows(kMacroRecordRows, id) ||
        !hasEntry(state_.macroRecords, id - kMacroRecordRows.firstId)) {
        return;
    }
    state_.menuRow = id;
    if (const std::optional<int> command =
            context_.prompts.popupMenu(this, screenPos, RecordListMenu(doc_.uiLanguage))) {
        runMenuCommand(*command);
    }
}

void COrvoDialogKeyMapSettings::runMenuCommand(int command) {
    RecordList& macro = state_.macroRecords;
    const int row = state_.menuRow - kMacroRecordRows.firstId;
    int added = 0;
    if (command == kRecordMenuDelete) {
        added = DeleteMacroStep(macro, row);
    } else if (const std::optional<MouseMenuAction> action = MouseActionOf(command)) {
        added = InsertMouseEvents(macro, row, doc_.DeviceCodeName(action->deviceCode), action->events);
    } else {
        return;
    }
    added += TrimToLimit(macro);
    adjustRange(*recordScrollBar_, added);
    storeWorking(*KeyMapListPageOf(kMacroPage));
    update();
}

void COrvoDialogKeyMapSettings::placeScrollBars(int page) {
    const KeyMapListPage* list = KeyMapListPageOf(page);
    libraryScrollBar_->setVisible(list != nullptr);
    recordScrollBar_->setVisible(list != nullptr && page != 1);
    if (list == nullptr) {
        return;
    }
    place(libraryScrollBar_, page == 1 ? kLibraryScrollBarPage1 : kLibraryScrollBarPages23);
    setBarFor(*libraryScrollBar_, library(*list), list->rows);
    if (page != 1) {
        place(recordScrollBar_, kRecordScrollBarPages23);
        setBarFor(*recordScrollBar_, working(*list), list->rows);
    }
}

void COrvoDialogKeyMapSettings::setBarFor(CSkinScrollBar& bar, const RecordList& list, int rows) {
    // Position 0..n: the last page may show the last entry alone.
    ScrollInfo info;
    info.mask = kSifRange | kSifPage | kSifPos | kSifDisableNoScroll;
    info.minimum = 0;
    info.maximum = list.count() + rows - 1;
    info.page = rows;
    info.position = 0;
    bar.setScrollInfo(info, true);
    adjustRange(bar, 0);
}

void COrvoDialogKeyMapSettings::adjustRange(CSkinScrollBar& bar, int delta) {
    if (delta != 0) {
        adjustScrollRange(bar, delta);
    }
    // A range that fits in one page (an empty list) disables the bar rather than hides it.
    ScrollInfo info;
    info.mask = kSifRange | kSifPage;
    bar.getScrollInfo(info);
    bar.setEnabled(std::int64_t{info.maximum} - info.minimum + 1 > info.page);
}

void COrvoDialogKeyMapSettings::scrolled(CSkinScrollBar& bar, int code, int trackPosition) {
    ScrollInfo info;
    info.mask = kSifAll;
    bar.getScrollInfo(info);
    std::int64_t position = info.position;
    switch (code) {
    case CSkinScrollBar::kLineUp:
        --position;
        break;
    case CSkinScrollBar::kLineDown:
        ++position;
        break;
    case CSkinScrollBar::kPageUp:
        position -= info.page;
        break;
    case CSkinScrollBar::kPageDown:
        position += info.page;
        break;
    case CSkinScrollBar::kThumbTrack:
        position = trackPosition;
        break;
    default:
        break;
    }
    const std::int64_t highest = std::max<std::int64_t>(0, std::int64_t{info.maximum} - info.page + 1);
    info.mask = kSifPos;
    info.position = static_cast<int>(std::clamp<std::int64_t>(position, 0, highest));
    bar.setScrollInfo(info, true);

    const KeyMapListPage* list = listPage();
    if (list == nullptr) {
        return;
    }
    if (&bar == libraryScrollBar_) {
        RecordList& lib = library(*list);
        storeWorking(*list);
        const std::int64_t before = std::int64_t{lib.viewStartAt} + lib.cursorPos;
        lib.SelectIndex(info.position);
        if (std::int64_t{lib.viewStartAt} + lib.cursorPos != before) {
            loadWorking(*list);
            if (list->page != 1) {
                setBarFor(*recordScrollBar_, working(*list), list->rows);
            }
        }
        repaintRows(list->libraryRows);
    } else if (list->page != 1) {
        working(*list).SelectIndex(info.position);
    }
    repaintRows(list->recordRows);
    syncControls();
}

void COrvoDialogKeyMapSettings::repaintRows(KeySettingsListRows rows) {
    for (int k = 0; k < rows.rows; ++k) {
        repaintElement(rows.firstId + k);
    }
}
