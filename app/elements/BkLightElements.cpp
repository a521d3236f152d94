#include "app/elements/BkLightElements.h"

#include <array>

namespace {

struct CommandRow {
    int id;
    const char* zh;
    const char* en;
    SkinRect button;
    SkinRect text;
};

const CommandRow kCommands[] = {
    {kBlCmdRead, "读取背光", "Read", {516, 420, 601, 454}, {521, 428, 603, 454}},
    {kBlCmdDefault, "恢复默认", "Default", {223, 420, 308, 454}, {228, 428, 310, 454}},
    {kBlCmdWrite, "写入背光", "Write", {614, 420, 699, 454}, {619, 428, 701, 454}},
    {kBlCmdCancel, "取消", "Cancel", {809, 420, 894, 454}, {814, 428, 896, 454}},
    {kBlCmdOk, "确定", "OK", {712, 420, 797, 454}, {717, 428, 799, 454}},
    {kBlCmdSetAll, "全域设置", "Set All", {321, 420, 406, 454}, {326, 428, 408, 454}},
    {kBlCmdMultiKey, "多键设置", "MultiKey", {419, 420, 504, 454}, {424, 428, 506, 454}},
};

// The text element of MultiKey spells its English caption apart from the button's.
const char* const kMultiKeyText = "Multi Key";

struct KeyRow {
    const char* label;
    const char* tip; // nullptr: the label
    SkinRect rect;
};

constexpr int kTopF = 56, kBottomF = 101;

// Key numbers 1..103 in order.
const std::array<KeyRow, 103> kKeys = {{
    {"Esc", nullptr, {172, kTopF, 216, kBottomF}},
    {"F1", nullptr, {266, kTopF, 308, kBottomF}},
    {"F2", nullptr, {312, kTopF, 354, kBottomF}},
    {"F3", nullptr, {358, kTopF, 400, kBottomF}},
    {"F4", nullptr, {404, kTopF, 446, kBottomF}},
    {"F5", nullptr, {473, kTopF, 515, kBottomF}},
    {"F6", nullptr, {519, kTopF, 561, kBottomF}},
    {"F7", nullptr, {565, kTopF, 607, kBottomF}},
    {"F8", nullptr, {611, kTopF, 653, kBottomF}},
    {"F9", nullptr, {679, kTopF, 721, kBottomF}},
    {"F10", nullptr, {725, kTopF, 767, kBottomF}},
    {"F11", nullptr, {771, kTopF, 813, kBottomF}},
    {"F12", nullptr, {817, kTopF, 859, kBottomF}},
    {"~", nullptr, {172, 150, 214, 194}},
    {"1", nullptr, {218, 150, 260, 194}},
    {"2", nullptr, {264, 150, 306, 194}},
    {"3", nullptr, {310, 150, 352, 194}},
    {"4", nullptr, {356, 150, 398, 194}},
    {"5", nullptr, {402, 150, 444, 194}},
    {"6", nullptr, {448, 150, 490, 194}},
    {"7", nullptr, {494, 150, 535, 194}},
    {"8", nullptr, {539, 150, 581, 194}},
    {"9", nullptr, {585, 150, 627, 194}},
    {"0", nullptr, {631, 150, 673, 194}},
    {"-", nullptr, {677, 150, 719, 194}},
    {"+", nullptr, {723, 150, 765, 194}},
    {"BackSpace", nullptr, {769, 150, 859, 194}},
    {"Tab", nullptr, {172, 198, 240, 241}},
    {"Q", nullptr, {244, 198, 286, 241}},
    {"W", nullptr, {290, 198, 332, 241}},
    {"E", nullptr, {336, 198, 378, 241}},
    {"R", nullptr, {382, 198, 424, 241}},
    {"T", nullptr, {428, 198, 470, 241}},
    {"Y", nullptr, {474, 198, 516, 241}},
    {"U", nullptr, {520, 198, 562, 241}},
    {"I", nullptr, {566, 198, 608, 241}},
    {"O", nullptr, {612, 198, 654, 241}},
    {"P", nullptr, {658, 198, 700, 241}},
    {"[", nullptr, {704, 198, 746, 241}},
    {"]", nullptr, {750, 198, 792, 241}},
    {"\\", nullptr, {796, 198, 859, 241}},
    {"Caps Lock", nullptr, {172, 245, 258, 288}},
    {"A", nullptr, {262, 245, 304, 288}},
    {"S", nullptr, {308, 245, 350, 288}},
    {"D", nullptr, {354, 245, 396, 288}},
    {"F", nullptr, {400, 245, 442, 288}},
    {"G", nullptr, {446, 245, 488, 288}},
    {"H", nullptr, {492, 245, 534, 288}},
    {"J", nullptr, {538, 245, 580, 288}},
    {"K", nullptr, {584, 245, 626, 288}},
    {"L", nullptr, {630, 245, 672, 288}},
    {";", nullptr, {676, 245, 718, 288}},
    {"'", nullptr, {722, 245, 764, 288}},
    {"Enter", nullptr, {768, 245, 859, 288}},
    {"Shift", nullptr, {172, 292, 280, 335}},
    {"Z", nullptr, {284, 292, 326, 335}},
    {"X", nullptr, {330, 292, 372, 335}},
    {"C", nullptr, {376, 292, 418, 335}},
    {"V", nullptr, {422, 292, 464, 335}},
    {"B", nullptr, {468, 292, 510, 335}},
    {"N", nullptr, {514, 292, 556, 335}},
    {"M", nullptr, {560, 292, 602, 335}},
    {"<", nullptr, {606, 292, 648, 335}},
    {">", nullptr, {652, 292, 694, 335}},
    {"?", nullptr, {698, 292, 740, 335}},
    {"Shift", nullptr, {744, 292, 821, 335}},
    {"Ctrl", nullptr, {172, 339, 225, 384}},
    {"Win", "LWin", {229, 339, 282, 384}},
    {"Alt", "LAlt", {286, 339, 339, 384}},
    {"Space", nullptr, {343, 339, 637, 384}},
    {"Alt", "RAlt", {641, 339, 683, 384}},
    {"Fn", "RWin", {687, 339, 729, 384}},
    {"Ctrl", "RCtrl", {733, 339, 775, 384}},
    {"Up", nullptr, {839, 305, 883, 350}},
    {"Left", nullptr, {793, 354, 836, 399}},
    {"Down", nullptr, {840, 354, 883, 399}},
    {"Right", nullptr, {887, 354, 930, 399}},
    {"Insert", nullptr, {900, 56, 942, 100}},
    {"Home", nullptr, {946, 56, 988, 100}},
    {"PgUp", nullptr, {992, 56, 1034, 100}},
    {"PrtScreen", "PrintScreen", {1038, 56, 1080, 100}},
    {"Delete", nullptr, {900, 104, 942, 148}},
    {"End", nullptr, {946, 104, 988, 148}},
    {"PgDown", nullptr, {992, 104, 1034, 148}},
    {"ScrollLock", nullptr, {1038, 104, 1080, 148}},
    {"NumLock", nullptr, {900, 152, 942, 195}},
    {"KP/", nullptr, {946, 152, 988, 195}},
    {"KP*", nullptr, {992, 152, 1034, 195}},
    {"Pause", nullptr, {1038, 152, 1080, 195}},
    {"KP7", nullptr, {900, 199, 942, 242}},
    {"KP8", nullptr, {946, 199, 988, 242}},
    {"KP9", nullptr, {992, 199, 1034, 242}},
    {"KP-", nullptr, {1038, 199, 1080, 242}},
    {"KP4", nullptr, {900, 246, 942, 289}},
    {"KP5", nullptr, {946, 246, 988, 289}},
    {"KP6", nullptr, {992, 246, 1034, 289}},
    {"KP+", nullptr, {1038, 246, 1080, 289}},
    {"KP1", nullptr, {900, 293, 942, 336}},
    {"KP2", nullptr, {946, 293, 988, 336}},
    {"KP3", nullptr, {992, 293, 1034, 336}},
    {"KP0", nullptr, {946, 340, 988, 383}},
    {"KP.", nullptr, {992, 340, 1034, 383}},
    {"KPEnter", nullptr, {1038, 293, 1080, 383}},
}};

// Every non-key element carries this placeholder tip, in Chinese only; the
// dialog never shows it.
void giveTip(SkinItem& item) {
    item.tips = {{"zh-CN", "tip"}};
}

SkinItem command(int id, const char* zh, const char* en, SkinRect rect) {
    SkinItem item = Hotspot(id, rect);
    item.captions = {{"zh-CN", zh}, {"en-US", en}};
    giveTip(item);
    return item;
}

SkinItem text(int id, const char* zh, const char* en, SkinRect rect) {
    SkinItem item = Label(id, zh, en, rect);
    giveTip(item);
    return item;
}

} // namespace

SkinTable BkLightElements() {
    SkinTable table;
    table.reserve(kBkLightSlots);
    table.push_back(command(kBlCmdClose, "", "", {1218, 12, 1238, 37}));
    for (const CommandRow& row : kCommands) {
        table.push_back(command(row.id, row.zh, row.en, row.button));
    }
    table.push_back(text(kBlCmdClose, "背光设置面板", "BackLight Settings", {550, 13, 702, 45}));
    for (const CommandRow& row : kCommands) {
        table.push_back(text(row.id, row.zh, row.id == kBlCmdMultiKey ? kMultiKeyText : row.en, row.text));
    }
    for (int k = 1; k <= static_cast<int>(kKeys.size()); ++k) {
        const KeyRow& key = kKeys[static_cast<std::size_t>(k - 1)];
        SkinItem item = KeyElement(99 + k, k, key.label, key.rect);
        const char* tip = key.tip != nullptr ? key.tip : key.label;
        item.tips = {{"zh-CN", tip}, {"en-US", tip}};
        table.push_back(item);
    }
    table.resize(kBkLightSlots);
    return table;
}
