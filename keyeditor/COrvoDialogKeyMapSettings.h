#pragma once

#include "app/elements/KeySettingsElements.h"
#include "keyeditor/KeyMapState.h"
#include "skin/SkinnedDialog.h"

#include <array>
#include <cstdint>
#include <vector>

class CSkinScrollBar;
class ConfigDocument;
class KeyToolTip;
class QLineEdit;
class QPlainTextEdit;
struct KeyCapture;
struct KeyMapListPage;

// The dialog that chooses what one key slot does: 2 x selectedKey +
// currentLayer of the document.  Seven pages (Single/Combo, Macro, Emulate,
// Multimedia, Mouse, Function, Power) and the three libraries of saved
// combos, macros and emulations.  Everything is edited in working copies;
// only OK writes the slot (and the library of the page shown) into the
// document.  Ends with 1 for OK, 2 for Cancel and the close box.
class COrvoDialogKeyMapSettings : public SkinnedDialog {
    Q_OBJECT

public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit COrvoDialogKeyMapSettings(GuiContext& context, QWidget* parent = nullptr);
    ~COrvoDialogKeyMapSettings() override;

    const KeyMapState& state() const { return state_; }
    int editedSlot() const;

    QLineEdit* countEdit() const { return countEdit_; }
    QLineEdit* autoDelayEdit() const { return autoDelayEdit_; }
    QLineEdit* inPlaceEdit() const { return inPlaceEdit_; }
    QPlainTextEdit* comboKeysView() const { return comboKeysView_; }
    CSkinScrollBar* libraryScrollBar() const { return libraryScrollBar_; }
    CSkinScrollBar* recordScrollBar() const { return recordScrollBar_; }
    const KeyToolTip& toolTip() const { return *toolTip_; }

    void done(int result) override;
    // Closing the window by other means is Cancel.
    void reject() override;

protected:
    void runCommand(int id) override;
    bool isActive(const SkinItem& item) const override;
    void hoverChanged(const SkinItem* hovered) override;
    void rightClicked(int id, QPoint screenPos) override;
    void beforePaint() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void userMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;

private:
    // Set-up.
    void createControls();
    void loadLibraries();
    void openOnSlot();

    // Pages and the frame.
    void switchPage(int page);
    void showControlsOf(int page);
    bool stopCapture(int id);
    void endCapture(bool KeyMapState::*flag);
    void runAction(int id);
    void storeAndEnd();
    void clearChoice();
    void restoreDefault();
    void flipSingleMode();
    void selectSingle();
    void pickSingleKey();
    void pickComboKeys();
    int virtualCodeOf(int deviceCode) const;
    void chooseCode(const SkinItem& button);
    int* pageCode(int page);
    void syncControls();

    // Keyboard captures.
    bool captureMayStart(const KeyCapture& capture) const;
    void startCapture(const KeyCapture& capture);
    void hookKey(WPARAM wParam, LPARAM lParam);
    int sidedShift(bool release);
    void captureSingle(int event);
    void captureCombo(int event);
    void captureMacro(int vk, bool release, int event, std::int64_t milliseconds);
    void captureEmulation(int vk, bool release, int event);

    // Libraries and record lists.
    const KeyMapListPage* listPage() const;
    RecordList& library(const KeyMapListPage& list);
    RecordList& working(const KeyMapListPage& list);
    void loadWorking(const KeyMapListPage& list);
    // Takes the library's current entry into the record list, with the record
    // bar following it on the pages that have one.
    void showCurrentEntry(const KeyMapListPage& list);
    void storeWorking(const KeyMapListPage& list);
    void newEntry(const KeyMapListPage& list);
    void removeEntry(const KeyMapListPage& list);
    void libraryRowClicked(const KeyMapListPage& list, int row);
    void recordRowClicked(const KeyMapListPage& list, int row);
    void openInPlaceEdit(int rowId, const QString& text);
    void commitInPlaceEdit();
    bool runListAction(int id);

    // Macro and emulation options.
    void choosePlayMode(int id);
    void chooseAutomaticDelay();
    void chooseRecordedDelays();
    void countEdited(const QString& text);
    void autoDelayEdited(const QString& text);
    int takeAutoDelay();
    void runMenuCommand(int command);

    // Scroll bars.
    void placeScrollBars(int page);
    void setBarFor(CSkinScrollBar& bar, const RecordList& list, int rows);
    void adjustRange(CSkinScrollBar& bar, int delta);
    void scrolled(CSkinScrollBar& bar, int code, int trackPosition);

    SkinItem* item(int id);
    void repaintRows(KeySettingsListRows rows);

    ConfigDocument& doc_;
    KeyMapState state_;
    std::vector<int> indexOfId_;

    QLineEdit* countEdit_ = nullptr;
    QLineEdit* autoDelayEdit_ = nullptr;
    QLineEdit* inPlaceEdit_ = nullptr;
    QPlainTextEdit* comboKeysView_ = nullptr;
    CSkinScrollBar* libraryScrollBar_ = nullptr;
    CSkinScrollBar* recordScrollBar_ = nullptr;
    KeyToolTip* toolTip_ = nullptr;

    // Left and right Shift as a capture last saw them, for a source that
    // names only "Shift"; and the sides kept from the last Shift release.
    std::array<bool, 2> shiftDown_{};
    std::array<bool, 2> shiftAtRelease_{};
    // The single key's message box is up: keys meanwhile open no second one.
    bool showingKeyBox_ = false;
};
