#pragma once

#include "keyeditor/KeyMapState.h"

// The four keyboard captures of the key settings dialog: each a start/stop
// switch element, the two captions over it and the flag of its capture.
struct KeyCapture {
    int element;
    int recordLabel;
    int stopLabel;
    bool KeyMapState::*flag;
};

inline constexpr KeyCapture kKeyCaptures[] = {
    {104, 154, 155, &KeyMapState::recordingSingle},
    {107, 159, 160, &KeyMapState::recordingCombo},
    {207, 267, 268, &KeyMapState::recordingMacro},
    {302, 352, 353, &KeyMapState::recordingEmulation},
};

// The capture whose switch is `element`; null for any other element.
inline const KeyCapture* KeyCaptureOf(int element) {
    for (const KeyCapture& capture : kKeyCaptures) {
        if (capture.element == element) {
            return &capture;
        }
    }
    return nullptr;
}
