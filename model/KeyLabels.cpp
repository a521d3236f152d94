#include "model/Catalogue.h"

namespace {

// Labels of keys 1..103, in key-number order.
constexpr const char* kKeyLabels[kKeyCount] = {
    "Esc",        // 1
    "F1",         // 2
    "F2",         // 3
    "F3",         // 4
    "F4",         // 5
    "F5",         // 6
    "F6",         // 7
    "F7",         // 8
    "F8",         // 9
    "F9",         // 10
    "F10",        // 11
    "F11",        // 12
    "F12",        // 13
    "~",          // 14
    "1",          // 15
    "2",          // 16
    "3",          // 17
    "4",          // 18
    "5",          // 19
    "6",          // 20
    "7",          // 21
    "8",          // 22
    "9",          // 23
    "0",          // 24
    "-",          // 25
    "+",          // 26
    "BackSpace",  // 27
    "Tab",        // 28
    "Q",          // 29
    "W",          // 30
    "E",          // 31
    "R",          // 32
    "T",          // 33
    "Y",          // 34
    "U",          // 35
    "I",          // 36
    "O",          // 37
    "P",          // 38
    "[",          // 39
    "]",          // 40
    "\\",         // 41
    "Caps Lock",  // 42
    "A",          // 43
    "S",          // 44
    "D",          // 45
    "F",          // 46
    "G",          // 47
    "H",          // 48
    "J",          // 49
    "K",          // 50
    "L",          // 51
    ";",          // 52
    "'",          // 53
    "Enter",      // 54
    "Shift",      // 55
    "Z",          // 56
    "X",          // 57
    "C",          // 58
    "V",          // 59
    "B",          // 60
    "N",          // 61
    "M",          // 62
    "<",          // 63
    ">",          // 64
    "?",          // 65
    "Shift",      // 66
    "Ctrl",       // 67
    "Win",        // 68
    "Alt",        // 69
    "Space",      // 70
    "Alt",        // 71
    "Fn",         // 72
    "Ctrl",       // 73
    "Up",         // 74
    "Left",       // 75
    "Down",       // 76
    "Right",      // 77
    "Insert",     // 78
    "Home",       // 79
    "PgUp",       // 80
    "PrtScreen",  // 81
    "Delete",     // 82
    "End",        // 83
    "PgDown",     // 84
    "ScrollLock", // 85
    "NumLock",    // 86
    "KP/",        // 87
    "KP*",        // 88
    "Pause",      // 89
    "KP7",        // 90
    "KP8",        // 91
    "KP9",        // 92
    "KP-",        // 93
    "KP4",        // 94
    "KP5",        // 95
    "KP6",        // 96
    "KP+",        // 97
    "KP1",        // 98
    "KP2",        // 99
    "KP3",        // 100
    "KP0",        // 101
    "KP.",        // 102
    "KPEnter",    // 103
};

} // namespace

const char* KeyLabel(int key) {
    if (key < 1 || key > kKeyCount) {
        return "";
    }
    return kKeyLabels[key - 1];
}
