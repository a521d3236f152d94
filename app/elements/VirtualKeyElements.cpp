#include "app/elements/VirtualKeyElements.h"

namespace {

struct KeyCap {
    const char* caption;
    SkinRect rect;
};

// Rows of the on-screen keyboard share a top and bottom.
constexpr int kRow0 = 65, kRow0End = 98;
constexpr int kRow1 = 103, kRow1End = 136;
constexpr int kRow2 = 141, kRow2End = 174;
constexpr int kRow3 = 178, kRow3End = 211;
constexpr int kRow4 = 215, kRow4End = 248;
constexpr int kRow5 = 252, kRow5End = 285;

// In id order (100..203); the legends are painted into the images.
const KeyCap kKeys[] = {
    {"Esc", {30, kRow0, 63, kRow0End}},         {"F1", {106, kRow0, 139, kRow0End}},
    {"F2", {144, kRow0, 177, kRow0End}},        {"F3", {182, kRow0, 215, kRow0End}},
    {"F4", {220, kRow0, 253, kRow0End}},        {"F5", {279, kRow0, 312, kRow0End}},
    {"F6", {317, kRow0, 350, kRow0End}},        {"F7", {355, kRow0, 388, kRow0End}},
    {"F8", {393, kRow0, 426, kRow0End}},        {"F9", {451, kRow0, 484, kRow0End}},
    {"F10", {489, kRow0, 522, kRow0End}},       {"F11", {527, kRow0, 560, kRow0End}},
    {"F12", {565, kRow0, 598, kRow0End}},       {"~", {30, kRow1, 63, kRow1End}},
    {"1", {68, kRow1, 101, kRow1End}},          {"2", {106, kRow1, 139, kRow1End}},
    {"3", {144, kRow1, 177, kRow1End}},         {"4", {183, kRow1, 216, kRow1End}},
    {"5", {221, kRow1, 254, kRow1End}},         {"6", {259, kRow1, 292, kRow1End}},
    {"7", {297, kRow1, 330, kRow1End}},         {"8", {335, kRow1, 368, kRow1End}},
    {"9", {373, kRow1, 406, kRow1End}},         {"0", {412, kRow1, 445, kRow1End}},
    {"-", {450, kRow1, 483, kRow1End}},         {"+", {488, kRow1, 521, kRow1End}},
    {"BackSpace", {525, kRow1, 598, kRow1End}}, {"Tab", {30, kRow2, 84, kRow2End}},
    {"Q", {89, kRow2, 122, kRow2End}},          {"W", {127, kRow2, 160, kRow2End}},
    {"E", {165, kRow2, 198, kRow2End}},         {"R", {203, kRow2, 236, kRow2End}},
    {"T", {242, kRow2, 275, kRow2End}},         {"Y", {280, kRow2, 313, kRow2End}},
    {"U", {318, kRow2, 351, kRow2End}},         {"I", {356, kRow2, 389, kRow2End}},
    {"O", {394, kRow2, 427, kRow2End}},         {"P", {432, kRow2, 465, kRow2End}},
    {"[", {470, kRow2, 503, kRow2End}},         {"]", {508, kRow2, 541, kRow2End}},
    {"\\", {546, kRow2, 598, kRow2End}},        {"Caps Lock", {30, kRow3 + 1, 93, kRow3End}},
    {"A", {97, kRow3, 130, kRow3End}},          {"S", {135, kRow3, 168, kRow3End}},
    {"D", {173, kRow3, 207, kRow3End}},         {"F", {212, kRow3, 245, kRow3End}},
    {"G", {250, kRow3, 283, kRow3End}},         {"H", {288, kRow3, 321, kRow3End}},
    {"J", {326, kRow3, 359, kRow3End}},         {"K", {364, kRow3, 397, kRow3End}},
    {"L", {402, kRow3, 435, kRow3End}},         {";", {440, kRow3, 474, kRow3End}},
    {"'", {478, kRow3, 512, kRow3End}},         {"Enter", {516, kRow3, 598, kRow3End}},
    {"Shift", {30, kRow4, 115, kRow4End}},      {"Z", {120, kRow4, 153, kRow4End}},
    {"X", {158, kRow4, 191, kRow4End}},         {"C", {196, kRow4, 230, kRow4End}},
    {"V", {234, kRow4, 268, kRow4End}},         {"B", {272, kRow4, 306, kRow4End}},
    {"N", {310, kRow4, 344, kRow4End}},         {"M", {348, kRow4, 382, kRow4End}},
    {"<", {386, kRow4, 420, kRow4End}},         {">", {425, kRow4, 459, kRow4End}},
    {"?", {463, kRow4, 497, kRow4End}},         {"Shift", {502, kRow4, 598, kRow4End}},
    {"Ctrl", {30, kRow5, 75, kRow5End}},        {"Win", {80, kRow5, 125, kRow5End}},
    {"Alt", {130, kRow5, 175, kRow5End}},       {"Space", {180, kRow5, 398, kRow5End}},
    {"Alt", {403, kRow5, 448, kRow5End}},       {"Win", {453, kRow5, 498, kRow5End}},
    {"Menu", {503, kRow5, 548, kRow5End}},      {"Ctrl", {553, kRow5, 598, kRow5End}},
    {"PrtScreen", {622, kRow0, 656, kRow0End}}, {"ScrollLock", {660, kRow0, 694, kRow0End}},
    {"Pause", {698, kRow0, 732, kRow0End}},     {"Insert", {622, kRow1, 656, kRow1End}},
    {"Home", {660, kRow1, 694, kRow1End}},      {"PgUp", {698, kRow1, 732, kRow1End}},
    {"Delete", {622, kRow2, 656, kRow2End}},    {"End", {660, kRow2, 694, kRow2End}},
    {"PgDown", {698, kRow2, 732, kRow2End}},    {"Up", {660, kRow4, 694, kRow4End}},
    {"Left", {622, kRow5, 656, kRow5End}},      {"Down", {660, kRow5, 694, kRow5End}},
    {"Right", {698, kRow5, 732, kRow5End}},     {"NumLock", {756, kRow1, 790, kRow1End}},
    {"KP/", {794, kRow1, 828, kRow1End}},       {"KP*", {832, kRow1, 866, kRow1End}},
    {"KP7", {756, kRow2, 790, kRow2End}},       {"KP8", {794, kRow2, 828, kRow2End}},
    {"KP9", {832, kRow2, 866, kRow2End}},       {"KP4", {756, kRow3, 790, kRow3End}},
    {"KP5", {794, kRow3, 828, kRow3End}},       {"KP6", {832, kRow3, 866, kRow3End}},
    {"KP1", {756, kRow4, 790, kRow4End}},       {"KP2", {794, kRow4, 828, kRow4End}},
    {"KP3", {832, kRow4, 866, kRow4End}},       {"KP0", {756, kRow5, 828, kRow5End}},
    {"KP.", {832, kRow5, 866, kRow5End}},       {"KP-", {870, kRow1, 904, kRow1End}},
    {"KP+", {870, kRow2, 904, kRow3End}},       {"KPEnter", {870, kRow4, 904, kRow5End}},
};

} // namespace

SkinTable VirtualKeyElements() {
    SkinTable table = {
        Hotspot(kVkCmdClose, {893, 12, 916, 35}),
        Hotspot(kVkCmdOk, {570, 304, 652, 338}),
        Hotspot(kVkCmdCancel, {667, 304, 752, 338}),
        Label(kVkCmdClose, "虚拟键盘", "Virtual Keyboard", {400, 17, 540, 37}, kTextCentre, 17),
        Label(kVkCmdOk, "确定", "OK", {570, 312, 652, 338}),
        Label(kVkCmdCancel, "取消", "Cancel", {667, 312, 752, 338}),
    };
    int id = kVkFirstKeyId;
    for (const KeyCap& key : kKeys) {
        table.push_back(KeyElement(id, VirtualKeyCodeOfId(id), key.caption, key.rect));
        ++id;
    }
    table.resize(kVirtualKeySlots);
    return table;
}
