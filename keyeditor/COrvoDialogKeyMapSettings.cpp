#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "controls/CSkinScrollBar.h"
#include "controls/ScaledScrollBarSkin.h"
#include "keyeditor/KeyCaptures.h"
#include "keyeditor/KeyMapListPages.h"
#include "keyeditor/KeyToolTip.h"
#include "keyeditor/MacroListEditing.h"
#include "keyeditor/OrvoDialogVirtual.h"
#include "model/ConfigDocument.h"
#include "model/KeyAssignment.h"
#include "skin/AppResources.h"
#include "skin/ScaleFactor.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kSingleSwitch = 101;
constexpr int kComboSwitch = 102;
constexpr int kSingleLabel = 151;
constexpr int kComboLabel = 152;
constexpr int kSingleKeyName = 158;
constexpr int kPickSingle = 108;
constexpr int kPickCombo = 109;
constexpr int kPlayTimes = 201;
constexpr int kPlayWhileHeld = 208;
constexpr int kPlayToggle = 209;
constexpr int kAutomaticDelay = 203;
constexpr int kRecordedDelays = 210;
constexpr int kFunctionPage = 6;
constexpr int kHighestElementId = 800;

bool validSlot(int slot) {
    return slot >= 2 && slot < kSlotCount;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) {
            text += separator;
        }
        text += item;
    }
    return text;
}

void setCaption(SkinItem& item, const std::string& language, const std::string& text) {
    item.captions.clear();
    item.captions[language] = text;
}

QLineEdit* numberEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setFrame(false);
    return edit;
}

} // namespace

COrvoDialogKeyMapSettings::COrvoDialogKeyMapSettings(GuiContext& context, QWidget* parent)
    : SkinnedDialog(context, parent), doc_(context.doc) {
    setUpSkin(SkinWindow::KeySettings);
    setClickRules({.labelsHit = true, .dropIntervalMs = context_.clicks.keySettingsDropMs});
    // Enter stores the choice as OK does; Esc is Cancel.
    setDialogKeys(DialogKey::runs(kKsCmdOk), DialogKey::runs(kKsCmdCancel));

    indexOfId_.assign(kHighestElementId, -1);
    const SkinTable& table = elements();
    for (std::size_t i = table.size(); i-- > 0;) {
        const int id = table[i].id;
        if (id > 0 && id < kHighestElementId) {
            indexOfId_[static_cast<std::size_t>(id)] = static_cast<int>(i);
        }
    }

    createControls();
    loadLibraries();
    openOnSlot();
}

COrvoDialogKeyMapSettings::~COrvoDialogKeyMapSettings() {
    // The edits outlive this part of the dialog; their last focus change
    // must not reach a half-destroyed filter.
    for (QWidget* edit : {static_cast<QWidget*>(countEdit_), static_cast<QWidget*>(autoDelayEdit_),
                          static_cast<QWidget*>(inPlaceEdit_)}) {
        edit->removeEventFilter(this);
    }
}

int COrvoDialogKeyMapSettings::editedSlot() const {
    return 2 * doc_.selectedKey + doc_.currentLayer;
}

void COrvoDialogKeyMapSettings::createControls() {
    const bool chinese = doc_.uiLanguage == "zh-CN";
    countEdit_ = numberEdit(this, "countEdit");
    place(countEdit_, chinese ? kCountEditZh : kCountEditEn);
    autoDelayEdit_ = numberEdit(this, "autoDelayEdit");
    place(autoDelayEdit_, chinese ? kAutoDelayEditZh : kAutoDelayEditEn);
    inPlaceEdit_ = new QLineEdit(this);
    inPlaceEdit_->setObjectName(QStringLiteral("inPlaceEdit"));
    inPlaceEdit_->setAlignment(Qt::AlignCenter);
    inPlaceEdit_->setFrame(false);
    inPlaceEdit_->hide();
    inPlaceEdit_->setEnabled(false);
    for (QLineEdit* edit : {countEdit_, autoDelayEdit_, inPlaceEdit_}) {
        styleEdit(edit, 13);
        edit->installEventFilter(this);
    }
    connect(countEdit_, &QLineEdit::textEdited, this, &COrvoDialogKeyMapSettings::countEdited);
    connect(autoDelayEdit_, &QLineEdit::textEdited, this, &COrvoDialogKeyMapSettings::autoDelayEdited);

    comboKeysView_ = new QPlainTextEdit(this);
    comboKeysView_->setObjectName(QStringLiteral("comboKeysView"));
    comboKeysView_->setReadOnly(true);
    comboKeysView_->setFrameShape(QFrame::NoFrame);
    comboKeysView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comboKeysView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comboKeysView_->setContextMenuPolicy(Qt::NoContextMenu);
    place(comboKeysView_, kComboKeysView);
    styleEdit(comboKeysView_, 11);
    styleEdit(comboKeysView_->viewport(), 11);

    const QImage barSkin =
        ScaledScrollBarSkin(context_.resources.image(SkinWindow::ScrollBar, ImageVariant::Skin),
                            Scaled(kLibraryScrollBarPage1.width, scale()));
    libraryScrollBar_ = new CSkinScrollBar(Qt::Vertical, this);
    libraryScrollBar_->setObjectName(QStringLiteral("libraryScrollBar"));
    recordScrollBar_ = new CSkinScrollBar(Qt::Vertical, this);
    recordScrollBar_->setObjectName(QStringLiteral("recordScrollBar"));
    for (CSkinScrollBar* bar : {libraryScrollBar_, recordScrollBar_}) {
        bar->setSkin(barSkin);
        bar->hide();
        connect(bar, &CSkinScrollBar::scrollRequest, this,
                [this, bar](int code, int trackPosition) { scrolled(*bar, code, trackPosition); });
    }

    toolTip_ = new KeyToolTip(this);
    toolTip_->setFont(context_.resources.font(Scaled(13, scale())));
}

void COrvoDialogKeyMapSettings::loadLibraries() {
    for (int page = 1; page <= 3; ++page) {
        const KeyMapListPage& list = *KeyMapListPageOf(page);
        library(list).CopyFrom(doc_.*list.stored);
        library(list).sizeOfView = list.rows;
        loadWorking(list);
    }
}

void COrvoDialogKeyMapSettings::openOnSlot() {
    const int slot = editedSlot();
    const int mode = validSlot(slot) ? doc_.keyMode[static_cast<std::size_t>(slot)] : kTypeNotSet;
    const int code = validSlot(slot) ? doc_.keyCode[static_cast<std::size_t>(slot)] : 0;
    int page = 1;
    switch (mode) {
    case kTypeSingle:
        state_.singleKey = virtualCodeOf(code);
        break;
    case kTypeCombo:
    case kTypeMacro:
    case kTypeEmulation: {
        // The slot's list is selected in its library, added as "default"
        // when no entry holds it.
        page = mode - kTypeCombo + 1;
        const KeyMapListPage& list = *KeyMapListPageOf(page);
        state_.singleMode = mode == kTypeCombo ? 0 : 1;
        AddToLibrary(library(list), doc_.keyLists[static_cast<std::size_t>(slot)]);
        loadWorking(list);
        break;
    }
    case kTypeMultimedia:
    case kTypeMouse:
    case kTypeFunction:
    case kTypePower:
        page = mode - 1;
        *pageCode(page) = code;
        break;
    default:
        break;
    }
    switchPage(page);
}

bool COrvoDialogKeyMapSettings::isActive(const SkinItem& item) const {
    return KeySettingsActiveOn(item.id, page());
}

SkinItem* COrvoDialogKeyMapSettings::item(int id) {
    if (id <= 0 || id >= kHighestElementId) {
        return nullptr;
    }
    const int index = indexOfId_[static_cast<std::size_t>(id)];
    return index < 0 ? nullptr : &mutableElements()[static_cast<std::size_t>(index)];
}

int* COrvoDialogKeyMapSettings::pageCode(int page) {
    switch (page) {
    case 4:
        return &state_.multimediaCode;
    case 5:
        return &state_.mouseCode;
    case 6:
        return &state_.functionCode;
    case 7:
        return &state_.powerCode;
    default:
        return nullptr;
    }
}

void COrvoDialogKeyMapSettings::switchPage(int page) {
    showPage(page);
    inPlaceEdit_->hide();
    inPlaceEdit_->setEnabled(false);
    toolTip_->deactivate();
    showControlsOf(page);
    placeScrollBars(page);
    syncControls();
    update();
}

void COrvoDialogKeyMapSettings::showControlsOf(int page) {
    const auto set = [](QWidget* control, bool shown, bool enabled) {
        control->setVisible(shown);
        control->setEnabled(enabled);
    };
    set(countEdit_, page == 2 || page == 3, page == 2 || page == 3);
    set(autoDelayEdit_, page == 2, false);
    set(comboKeysView_, page == 1, page == 1);
}

void COrvoDialogKeyMapSettings::syncControls() {
    const auto show = [](QLineEdit* edit, int value) {
        const QString text = QString::number(value);
        if (edit->text() != text) {
            edit->setText(text);
        }
    };
    const QString keys = QString::fromStdString(joined(state_.comboKeys.items, " + "));
    if (comboKeysView_->toPlainText() != keys) {
        comboKeysView_->setPlainText(keys);
    }
    if (page() == 2) {
        show(countEdit_, state_.macroRecords.cycles);
        show(autoDelayEdit_, state_.macroRecords.delay);
        autoDelayEdit_->setEnabled(state_.macroRecords.isAutoInterval);
    } else if (page() == 3) {
        show(countEdit_, state_.emulationRecords.delay);
    }
}

void COrvoDialogKeyMapSettings::runCommand(int id) {
    if (state_.renaming || state_.editingDelay) {
        commitInPlaceEdit();
        if (id != kKsCmdOk && id != kKsCmdCancel) {
            return;
        }
    }
    if (!stopCapture(id)) {
        syncControls();
        update();
        return;
    }
    runAction(id);
}

bool COrvoDialogKeyMapSettings::stopCapture(int id) {
    const bool ending = id == kKsCmdOk || id == kKsCmdCancel;
    if (state_.recordingSingle && id != kPickSingle) {
        endCapture(&KeyMapState::recordingSingle);
        return ending;
    }
    if (state_.recordingCombo && id != kPickCombo) {
        endCapture(&KeyMapState::recordingCombo);
        storeWorking(*KeyMapListPageOf(1));
        return ending;
    }
    if (state_.recordingMacro) {
        endCapture(&KeyMapState::recordingMacro);
        RecordList& macro = state_.macroRecords;
        // The last key line gets the delay that would have followed it.
        if (!macro.isAutoInterval && macro.count() < kMaxRecordedMacroLines) {
            macro.AppendItem(DelayLine(50));
            adjustRange(*recordScrollBar_, 1);
        }
        storeWorking(*KeyMapListPageOf(2));
        return false;
    }
    if (state_.recordingEmulation) {
        endCapture(&KeyMapState::recordingEmulation);
        storeWorking(*KeyMapListPageOf(3));
        return false;
    }
    return true;
}

void COrvoDialogKeyMapSettings::endCapture(bool KeyMapState::*flag) {
    releaseHook();
    state_.*flag = false;
}

void COrvoDialogKeyMapSettings::runAction(int id) {
    if (id >= kKsCmdFirstTab && id < kKsCmdFirstTab + kKeySettingsPages) {
        switchPage(id - kKsCmdFirstTab + 1);
        return;
    }
    switch (id) {
    case kKsCmdCancel:
    case kKsCmdClose:
        done(kResultCancel);
        return;
    case kKsCmdOk:
        storeAndEnd();
        return;
    case kKsCmdClear:
        clearChoice();
        break;
    case kKsCmdDefault:
        restoreDefault();
        break;
    case kSingleSwitch:
    case kComboSwitch:
        flipSingleMode();
        break;
    case kPlayTimes:
    case kPlayWhileHeld:
    case kPlayToggle:
        choosePlayMode(id);
        break;
    case kAutomaticDelay:
        chooseAutomaticDelay();
        break;
    case kPickSingle:
        pickSingleKey();
        break;
    case kPickCombo:
        pickComboKeys();
        break;
    case kRecordedDelays:
        chooseRecordedDelays();
        break;
    default:
        if (const KeyCapture* capture = KeyCaptureOf(id)) {
            startCapture(*capture);
            break;
        }
        if (runListAction(id)) {
            break;
        }
        if (const SkinItem* button = item(id);
            button != nullptr && button->isLabel == 0 && button->code >= 0) {
            chooseCode(*button);
        }
        break;
    }
    syncControls();
    update();
}

void COrvoDialogKeyMapSettings::storeAndEnd() {
    const int slot = editedSlot();
    if (validSlot(slot)) {
        const auto s = static_cast<std::size_t>(slot);
        int& mode = doc_.keyMode[s];
        int& code = doc_.keyCode[s];
        RecordList& slotList = doc_.keyLists[s];
        mode = kTypeNotSet;
        if (const KeyMapListPage* list = KeyMapListPageOf(page())) {
            const RecordList& steps = working(*list);
            if (page() == 1 && state_.singleMode == 1) {
                const int single = state_.singleKey >= 0 ? doc_.TypedKeyCode(state_.singleKey & 0x1FF) : 0;
                if (single > 0) {
                    code = single;
                    mode = kTypeSingle;
                }
            } else if (steps.count() > 0) {
                slotList.CopyFrom(steps);
                mode = kTypeCombo + page() - 1;
                code = 0;
            }
            (doc_.*list->stored).CopyFrom(library(*list));
        } else if (const int* chosen = pageCode(page()); chosen != nullptr && *chosen >= 1) {
            code = *chosen;
            mode = kTypeMultimedia + page() - 4;
            // The Fn key works only when both layers of its key hold it.
            if (page() == kFunctionPage && *chosen == kFnCode) {
                const int other = 2 * doc_.selectedKey + 1 - doc_.currentLayer;
                if (validSlot(other) && other / 2 == slot / 2) {
                    doc_.keyCode[static_cast<std::size_t>(other)] = kFnCode;
                    doc_.keyMode[static_cast<std::size_t>(other)] = kTypeFunction;
                }
            }
        }
    }
    update();
    done(kResultOk);
}

void COrvoDialogKeyMapSettings::selectSingle() {
    state_.singleMode = 1;
    state_.recordingSingle = false;
    state_.recordingCombo = false;
}

void COrvoDialogKeyMapSettings::clearChoice() {
    state_.singleKey = -1;
    selectSingle();
    switchPage(1);
}

void COrvoDialogKeyMapSettings::restoreDefault() {
    // The dialog's own sorting of factory codes; ClassifyCode differs (75 and
    // 77 are keys here, 199 and above choose nothing).
    const int d = doc_.FactoryCode(editedSlot());
    if (d == 76) {
        state_.powerCode = d;
        switchPage(7);
    } else if (d >= 108 && d <= 125) {
        state_.multimediaCode = d;
        switchPage(4);
    } else if ((d >= 126 && d <= 134) || d == 157 || d == 158 || d == 173) {
        state_.mouseCode = d;
        switchPage(5);
    } else if (d >= 135 && d <= 198) {
        state_.functionCode = d;
        switchPage(6);
    } else if (d < 108 || d == 204) {
        switchPage(1);
        selectSingle();
        state_.singleKey = virtualCodeOf(d);
    }
}

void COrvoDialogKeyMapSettings::flipSingleMode() {
    // The clicked half turns over and the other takes its old state: either
    // half flips the switch, even the one already on.
    state_.singleMode = state_.singleMode == 1 ? 0 : 1;
    state_.recordingSingle = false;
    state_.recordingCombo = false;
}

int COrvoDialogKeyMapSettings::virtualCodeOf(int deviceCode) const {
    return deviceCode >= 0 && deviceCode < kVirtualCodeCount
               ? doc_.codeToVk[static_cast<std::size_t>(deviceCode)]
               : -1;
}

void COrvoDialogKeyMapSettings::pickSingleKey() {
    if (state_.singleMode != 1 || state_.recordingSingle) {
        return;
    }
    doc_.pickedCode = state_.singleKey >= 0 ? doc_.TypedKeyCode(state_.singleKey & 0x1FF) : -1;
    OrvoDialogVirtual keyboard(context_, this);
    keyboard.pickMode = 1;
    if (keyboard.exec() == OrvoDialogVirtual::kOk) {
        state_.singleKey = virtualCodeOf(doc_.pickedCode);
        repaintElement(kSingleKeyName);
    }
}

void COrvoDialogKeyMapSettings::pickComboKeys() {
    if (state_.singleMode != 0 || state_.recordingCombo || state_.comboLibrary.count() == 0) {
        return;
    }
    OrvoDialogVirtual keyboard(context_, this);
    keyboard.pickMode = 2;
    if (keyboard.exec() != OrvoDialogVirtual::kOk) {
        return;
    }
    RecordList& keys = state_.comboKeys;
    keys.Clear();
    const int picked = std::clamp(doc_.pickedComboCount, 0, static_cast<int>(doc_.pickedComboCodes.size()));
    for (int i = 0; i < picked && keys.count() < kMaxComboKeys; ++i) {
        keys.AppendItem(
            doc_.EntryName(virtualCodeOf(doc_.pickedComboCodes[static_cast<std::size_t>(i)]), false));
    }
    storeWorking(*KeyMapListPageOf(1));
    repaintRows(kComboKeysRows);
}

void COrvoDialogKeyMapSettings::chooseCode(const SkinItem& button) {
    int* code = pageCode(page());
    if (code == nullptr) {
        return;
    }
    *code = *code == button.code ? -1 : button.code;
}

void COrvoDialogKeyMapSettings::beforePaint() {
    const std::string& language = doc_.uiLanguage;
    const bool single = state_.singleMode == 1;
    item(kSingleSwitch)->selected = single;
    item(kSingleLabel)->selected = single;
    item(kComboSwitch)->selected = !single;
    item(kComboLabel)->selected = !single;
    setCaption(*item(kSingleKeyName), language, doc_.EntryName(state_.singleKey, false));

    for (const KeyCapture& capture : kKeyCaptures) {
        const bool running = state_.*capture.flag;
        item(capture.element)->selected = running;
        item(capture.recordLabel)->shown = !running;
        item(capture.stopLabel)->shown = running;
    }

    for (int page = 1; page <= 3; ++page) {
        const KeyMapListPage& list = *KeyMapListPageOf(page);
        const auto fill = [&](KeySettingsListRows rows, const RecordList& from) {
            for (int k = 0; k < rows.rows; ++k) {
                SkinItem& row = *item(rows.firstId + k);
                setCaption(row, language, from.ItemText(k));
                // An empty row shows no selection, even where the cursor rests.
                row.selected = k == from.cursorPos && k + std::int64_t{from.viewStartAt} < from.count();
            }
        };
        fill(list.libraryRows, library(list));
        if (page != 1) {
            fill(list.recordRows, working(list));
        }
    }

    const RecordList& macro = state_.macroRecords;
    item(kPlayTimes)->selected = macro.playMode == 0;
    item(kPlayWhileHeld)->selected = macro.playMode == 1;
    item(kPlayToggle)->selected = macro.playMode == 2;
    item(kAutomaticDelay)->selected = macro.isAutoInterval;
    item(kRecordedDelays)->selected = !macro.isAutoInterval;

    for (SkinItem& button : mutableElements()) {
        if (const int* code = pageCode(KeySettingsPageOf(button.id));
            code != nullptr && button.isLabel == 0 && button.code >= 0) {
            button.selected = button.code == *code;
        }
    }
}

void COrvoDialogKeyMapSettings::hoverChanged(const SkinItem* hovered) {
    if (hovered == nullptr || hovered->tips.empty()) {
        toolTip_->deactivate();
        return;
    }
    const auto tip = hovered->tips.find(doc_.uiLanguage);
    toolTip_->activate(tip == hovered->tips.end() ? QString() : QString::fromStdString(tip->second),
                       mapToGlobal(lastMousePoint()));
}

void COrvoDialogKeyMapSettings::mousePressEvent(QMouseEvent* event) {
    toolTip_->deactivate();
    SkinnedDialog::mousePressEvent(event);
}

bool COrvoDialogKeyMapSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter finishes what is typed in an edit; it never ends the dialog from there.
            if (watched == inPlaceEdit_) {
                commitInPlaceEdit();
                return true;
            }
            if (watched == countEdit_ || watched == autoDelayEdit_) {
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut && watched == inPlaceEdit_) {
        commitInPlaceEdit();
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void COrvoDialogKeyMapSettings::done(int result) {
    toolTip_->deactivate();
    SkinnedDialog::done(result);
}

void COrvoDialogKeyMapSettings::reject() {
    done(kResultCancel);
}
