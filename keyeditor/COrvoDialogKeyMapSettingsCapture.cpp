// The keyboard captures of the key settings dialog: single key, combo keys,
// macro and emulation, fed by the keyboard hook.

#include "keyeditor/COrvoDialogKeyMapSettings.h"

#include "controls/CSkinScrollBar.h"
#include "keyeditor/KeyCaptures.h"
#include "keyeditor/KeyMapListPages.h"
#include "keyeditor/MacroListEditing.h"
#include "model/ConfigDocument.h"
#include "skin/HighResolutionClock.h"
#include "skin/KeyboardHook.h"
#include "skin/UserPrompts.h"

#include <algorithm>

namespace {

constexpr int kShift = 16;
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;
constexpr int kEnter = 13;
// Values of the program above the virtual-key codes: keypad Enter is Enter + 256.
constexpr int kKeypadOffset = 256;
constexpr int kReleaseOffset = 512;
constexpr int kSingleKeyName = 158;
constexpr int kMacroPage = 2;
constexpr int kEmulationPage = 3;

void removeEntries(RecordList& list) {
    list.items.clear();
    list.children.clear();
    list.viewStartAt = 0;
    list.cursorPos = 0;
}

} // namespace

bool COrvoDialogKeyMapSettings::captureMayStart(const KeyCapture& capture) const {
    if (capture.flag == &KeyMapState::recordingSingle) {
        return state_.singleMode == 1;
    }
    if (capture.flag == &KeyMapState::recordingCombo) {
        return state_.singleMode == 0 && state_.comboLibrary.count() > 0;
    }
    if (capture.flag == &KeyMapState::recordingMacro) {
        return state_.macroLibrary.count() > 0;
    }
    return state_.emulationLibrary.count() > 0;
}

void COrvoDialogKeyMapSettings::startCapture(const KeyCapture& capture) {
    if (!captureMayStart(capture) || state_.capturing()) {
        return;
    }
    // The hook first: a capture that cannot start changes nothing, the lists
    // it would have emptied included.
    const HookStatus hook = installHook();
    if (!hook.installed()) {
        context_.prompts.message(
            this, byLanguage("无法录制按键！", "Cannot record keys!") + u'\n' + captureFailureText(hook),
            modelCaption(), PromptButtons::Ok, PromptIcon::Exclamation);
        return;
    }
    state_.*capture.flag = true;
    state_.keyDownState.fill(0);
    state_.lastHookEvent = -1;
    state_.lastHookTime = 0;
    if (capture.flag == &KeyMapState::recordingCombo) {
        state_.comboKeys.Clear();
    } else if (capture.flag == &KeyMapState::recordingMacro) {
        removeEntries(state_.macroRecords);
        setBarFor(*recordScrollBar_, state_.macroRecords, KeyMapListPageOf(kMacroPage)->rows);
    } else if (capture.flag == &KeyMapState::recordingEmulation) {
        removeEntries(state_.emulationRecords);
        setBarFor(*recordScrollBar_, state_.emulationRecords, KeyMapListPageOf(kEmulationPage)->rows);
    }
}

void COrvoDialogKeyMapSettings::userMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_HOOK_KEY) {
        hookKey(wParam, lParam);
        return;
    }
    SkinnedDialog::userMessage(message, wParam, lParam);
}

int COrvoDialogKeyMapSettings::sidedShift(bool release) {
    enum { kLeft, kRight };
    if (!release) {
        return shiftDown_[kLeft] ? kLeftShift : shiftDown_[kRight] ? kRightShift : kShift;
    }
    // The side whose state changed since the last Shift release is the one released.
    const int vk = shiftDown_[kLeft] != shiftAtRelease_[kLeft]     ? kLeftShift
                   : shiftDown_[kRight] != shiftAtRelease_[kRight] ? kRightShift
                                                                   : kShift;
    shiftAtRelease_ = shiftDown_;
    return vk;
}

void COrvoDialogKeyMapSettings::hookKey(WPARAM wParam, LPARAM lParam) {
    const std::int64_t now = context_.clock.counter();
    const std::int64_t milliseconds =
        std::min<std::int64_t>(context_.clock.millisecondsSince(state_.lastHookTime), kMaxDelayLineMs);
    const HookKey key = DecodeHookKey(wParam, lParam);
    int vk = key.virtualKey;
    // The sources tell left from right themselves; a Shift without a side
    // takes it from the key states the capture has seen.
    if (vk == kLeftShift || vk == kRightShift) {
        shiftDown_[static_cast<std::size_t>(vk - kLeftShift)] = !key.release;
    } else if (vk == kShift) {
        vk = sidedShift(key.release);
    }
    int event = vk + kReleaseOffset * (key.release ? 1 : 0);
    if (vk == kEnter && key.extended) {
        event += kKeypadOffset;
    }
    // The time base and the last event move first: a message box of the
    // single-key capture runs a nested loop in which further keys arrive.
    const int previousEvent = state_.lastHookEvent;
    const bool firstKey = state_.lastHookTime == 0;
    state_.lastHookTime = now;
    state_.lastHookEvent = event;

    if (state_.recordingSingle) {
        if (!key.release && event != previousEvent) {
            captureSingle(event);
        }
    } else if (state_.recordingCombo) {
        if (!key.release && event != previousEvent) {
            captureCombo(event);
        }
    } else if (state_.recordingMacro) {
        captureMacro(vk, key.release, event, firstKey ? -1 : milliseconds);
    } else if (state_.recordingEmulation) {
        captureEmulation(vk, key.release, event != previousEvent ? event : -1);
    }
}

void COrvoDialogKeyMapSettings::captureSingle(int event) {
    if (showingKeyBox_) {
        return;
    }
    const int code = doc_.vkToCode[static_cast<std::size_t>(event & 0x1FF)];
    const int key = code < 0 ? -1 : doc_.codeToVk[static_cast<std::size_t>(code)];
    state_.singleKey = key;
    repaintElement(kSingleKeyName);
    if (key != event) {
        // The system's own report of a key that does not come back unchanged.
        showingKeyBox_ = true;
        context_.prompts.message(this, QString::asprintf("a=%d, b=%d, c=%d", event, code, key),
                                 modelCaption(), PromptButtons::Ok, PromptIcon::None);
        showingKeyBox_ = false;
    }
}

void COrvoDialogKeyMapSettings::captureCombo(int event) {
    RecordList& keys = state_.comboKeys;
    if (keys.count() >= kMaxComboKeys) {
        return;
    }
    keys.AppendItem(doc_.EntryName(event, false));
    syncControls();
    repaintRows(kComboKeysRows);
}

void COrvoDialogKeyMapSettings::captureMacro(int vk, bool release, int event, std::int64_t milliseconds) {
    std::uint8_t& down = state_.keyDownState[static_cast<std::size_t>(vk & 0xFF)];
    // A press of a key that is up or a release of one that is down: auto-repeat adds nothing.
    if (down != (release ? 1 : 0)) {
        return;
    }
    down = release ? 0 : 1;
    RecordList& macro = state_.macroRecords;
    if (milliseconds >= 0 && !macro.isAutoInterval && macro.count() < kMaxRecordedMacroLines) {
        macro.AppendItem(DelayLine(static_cast<int>(milliseconds)));
        adjustRange(*recordScrollBar_, 1);
    }
    if (macro.count() < MacroLineLimit(macro)) {
        macro.AppendItem(doc_.EntryName(event, true));
        adjustRange(*recordScrollBar_, 1);
        repaintRows(kMacroRecordRows);
    }
}

void COrvoDialogKeyMapSettings::captureEmulation(int vk, bool release, int event) {
    std::uint8_t& down = state_.keyDownState[static_cast<std::size_t>(vk & 0xFF)];
    if (down != (release ? 1 : 0)) {
        return;
    }
    down = release ? 0 : 1;
    RecordList& keys = state_.emulationRecords;
    if (release || event < 0 || keys.count() >= kMaxEmulationKeys) {
        return;
    }
    keys.AppendItem(doc_.EntryName(event, false));
    adjustRange(*recordScrollBar_, 1);
    repaintRows(kEmulationRecordRows);
}
