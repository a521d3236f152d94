#include "app/elements/MainWindowElements.h"

namespace {

struct CommandRow {
    int id;
    SkinRect withoutBacklight; // ModelType 2 and 3
    SkinRect withBacklight;    // every other model
};

constexpr SkinRect kAbsent{};

const CommandRow kCommands[] = {
    {kCmdLanguage, {750, 92, 845, 128}, {855, 92, 950, 128}},
    {kCmdReadCounters, {645, 92, 737, 128}, {750, 92, 845, 128}},
    {kCmdHelp, {1167, 20, 1192, 50}, {1167, 20, 1192, 50}},
    {kCmdHide, {1140, 20, 1165, 50}, {1140, 20, 1165, 50}},
    {kCmdExit, {1194, 20, 1219, 50}, {1194, 20, 1219, 50}},
    {kCmdSaveProfile, {15, 92, 110, 128}, {15, 92, 110, 128}},
    {kCmdOpenProfile, {120, 92, 215, 128}, {120, 92, 215, 128}},
    {kCmdDefaults, {225, 92, 325, 128}, {225, 92, 325, 128}},
    {kCmdWriteKeys, {330, 92, 430, 128}, {330, 92, 430, 128}},
    {kCmdBacklight, kAbsent, {435, 92, 535, 128}},
    {kCmdReadAll, {435, 92, 535, 128}, {540, 92, 635, 128}},
    {kCmdFirmware, {540, 92, 635, 128}, {645, 92, 737, 128}},
    {kCmdLayer, {1113, 80, 1163, 135}, {1113, 80, 1163, 135}},
};

struct LabelRow {
    int id;
    const char* zh;
    const char* en;
    SkinRect withoutBacklight;
    SkinRect withBacklight;
    int textFormat;
    ColorRef selectedTextColour;
};

constexpr ColorRef kGrey = Rgb24(200, 200, 200);
constexpr ColorRef kGreen = Rgb24(0, 255, 0);

const LabelRow kLabels[] = {
    {65, "English", "简体中文", {750, 101, 845, 130}, {855, 101, 950, 130}, kTextCentre, kGrey},
    {67, "读取计数", "ReadCounter", {650, 101, 735, 130}, {750, 101, 845, 130}, kTextCentre, kGrey},
    {70, "保存配置", "Save", {18, 101, 110, 130}, {18, 101, 110, 130}, kTextCentre, kGrey},
    {71, "打开配置", "Open", {124, 101, 215, 130}, {124, 101, 215, 130}, kTextCentre, kGrey},
    {72, "恢复默认", "Default", {225, 101, 325, 130}, {225, 101, 325, 130}, kTextCentre, kGrey},
    {73, "写入按键", "WriteKeys", {330, 101, 430, 130}, {330, 101, 430, 130}, kTextCentre, kGrey},
    {74, "设置背光", "LightSet", kAbsent, {435, 101, 535, 130}, kTextCentre, kGrey},
    {75, "读取配置", "ReadAll", {435, 101, 535, 130}, {540, 101, 635, 130}, kTextCentre, kGrey},
    {76, "固件升级", "Update", {540, 101, 635, 130}, {645, 101, 735, 130}, kTextCentre, kGrey},
    {kLabelTopLayer, "顶层", "TopLayer", {1050, 100, 1110, 125}, {1050, 100, 1110, 125}, kTextRight, kGreen},
    {kLabelFnLayer, "Fn组合层", "FnLayer", {1165, 100, 1265, 125}, {1165, 100, 1265, 125}, kTextLeft, kGreen},
    {55, "组合键", "Combo", {284, 545, 354, 565}, {284, 545, 354, 565}, kTextLeft, kGrey},
    {56, "宏定义键", "Macro", {388, 545, 458, 565}, {388, 545, 458, 565}, kTextLeft, kGrey},
    {57, "模拟击键", "Emulation", {484, 545, 554, 565}, {484, 545, 554, 565}, kTextLeft, kGrey},
    {58, "多媒体键", "Multimedia", {592, 545, 672, 565}, {592, 545, 672, 565}, kTextLeft, kGrey},
    {59, "鼠标键", "Mouse", {702, 545, 772, 565}, {702, 545, 772, 565}, kTextLeft, kGrey},
    {60, "操控键", "Function", {816, 545, 886, 565}, {816, 545, 886, 565}, kTextLeft, kGrey},
    {61, "电源键", "Power", {936, 545, 1006, 565}, {936, 545, 1006, 565}, kTextLeft, kGrey},
};

struct KeyRow {
    int keyNumber;
    const char* caption;
    SkinRect rect;
};

// The same keyboard picture for every model.
const KeyRow kKeys[] = {
    {1, "Esc", {183, 172, 229, 220}},
    {2, "F1", {275, 172, 321, 220}},
    {3, "F2", {321, 172, 367, 220}},
    {4, "F3", {367, 172, 413, 220}},
    {5, "F4", {413, 172, 459, 220}},
    {6, "F5", {482, 172, 528, 220}},
    {7, "F6", {528, 172, 574, 220}},
    {8, "F7", {574, 172, 620, 220}},
    {9, "F8", {620, 172, 666, 220}},
    {10, "F9", {688, 172, 734, 220}},
    {11, "F10", {734, 172, 780, 220}},
    {12, "F11", {780, 172, 826, 220}},
    {13, "F12", {826, 172, 872, 220}},
    {14, "~", {183, 268, 229, 315}},
    {15, "1", {229, 268, 275, 315}},
    {16, "2", {275, 268, 321, 315}},
    {17, "3", {321, 268, 367, 315}},
    {18, "4", {367, 268, 413, 315}},
    {19, "5", {413, 268, 459, 315}},
    {20, "6", {459, 268, 505, 315}},
    {21, "7", {505, 268, 550, 315}},
    {22, "8", {550, 268, 596, 315}},
    {23, "9", {596, 268, 642, 315}},
    {24, "0", {642, 268, 688, 315}},
    {25, "-", {688, 268, 734, 315}},
    {26, "+", {734, 268, 780, 315}},
    {27, "BackSpace", {780, 268, 870, 315}},
    {28, "Tab", {183, 315, 253, 362}},
    {29, "Q", {253, 315, 299, 362}},
    {30, "W", {299, 315, 345, 362}},
    {31, "E", {345, 315, 391, 362}},
    {32, "R", {391, 315, 437, 362}},
    {33, "T", {437, 315, 483, 362}},
    {34, "Y", {483, 315, 529, 362}},
    {35, "U", {529, 315, 575, 362}},
    {36, "I", {575, 315, 621, 362}},
    {37, "O", {621, 315, 667, 362}},
    {38, "P", {667, 315, 713, 362}},
    {39, "[", {713, 315, 759, 362}},
    {40, "]", {759, 315, 805, 362}},
    {41, "\\", {805, 315, 870, 362}},
    {42, "Caps Lock", {183, 362, 270, 408}},
    {43, "A", {270, 362, 316, 408}},
    {44, "S", {316, 362, 362, 408}},
    {45, "D", {362, 362, 408, 408}},
    {46, "F", {408, 362, 454, 408}},
    {47, "G", {454, 362, 500, 408}},
    {48, "H", {500, 362, 546, 408}},
    {49, "J", {546, 362, 592, 408}},
    {50, "K", {592, 362, 638, 408}},
    {51, "L", {638, 362, 684, 408}},
    {52, ";", {684, 362, 730, 408}},
    {53, "'", {730, 362, 776, 408}},
    {54, "Enter", {776, 362, 871, 408}},
    {55, "Shift", {183, 408, 295, 454}},
    {56, "Z", {295, 408, 341, 454}},
    {57, "X", {341, 408, 387, 454}},
    {58, "C", {387, 408, 433, 454}},
    {59, "V", {433, 408, 479, 454}},
    {60, "B", {479, 408, 525, 454}},
    {61, "N", {525, 408, 571, 454}},
    {62, "M", {571, 408, 617, 454}},
    {63, "<", {617, 408, 663, 454}},
    {64, ">", {663, 408, 709, 454}},
    {65, "?", {709, 408, 755, 454}},
    {66, "Shift", {755, 408, 834, 454}},
    {67, "Ctrl", {185, 454, 241, 500}},
    {68, "Win", {241, 454, 297, 500}},
    {69, "Alt", {297, 454, 353, 500}},
    {70, "Space", {353, 454, 651, 500}},
    {71, "Alt", {651, 454, 697, 500}},
    {72, "Fn", {697, 454, 743, 500}},
    {73, "Ctrl", {743, 454, 789, 500}},
    {74, "Up", {850, 423, 896, 469}},
    {75, "Left", {804, 469, 850, 515}},
    {76, "Down", {850, 469, 896, 515}},
    {77, "Right", {896, 469, 942, 515}},
    {78, "Insert", {910, 172, 956, 220}},
    {79, "Home", {956, 172, 1002, 220}},
    {80, "PgUp", {1002, 172, 1048, 220}},
    {81, "PrtScreen", {1048, 172, 1094, 220}},
    {82, "Delete", {910, 220, 956, 268}},
    {83, "End", {956, 220, 1002, 268}},
    {84, "PgDown", {1002, 220, 1048, 268}},
    {85, "ScrollLock", {1048, 220, 1094, 268}},
    {86, "NumLock", {910, 268, 956, 315}},
    {87, "KP/", {956, 268, 1002, 315}},
    {88, "KP*", {1002, 268, 1048, 315}},
    {89, "Pause", {1048, 268, 1094, 315}},
    {90, "KP7", {910, 315, 956, 362}},
    {91, "KP8", {956, 315, 1002, 362}},
    {92, "KP9", {1002, 315, 1048, 362}},
    {93, "KP-", {1048, 315, 1094, 362}},
    {94, "KP4", {910, 362, 956, 409}},
    {95, "KP5", {956, 362, 1002, 409}},
    {96, "KP6", {1002, 362, 1048, 409}},
    {97, "KP+", {1048, 362, 1094, 409}},
    {98, "KP1", {910, 409, 956, 456}},
    {99, "KP2", {956, 409, 1002, 456}},
    {100, "KP3", {1002, 409, 1048, 456}},
    {101, "KP0", {956, 456, 1002, 503}},
    {102, "KP.", {1002, 456, 1048, 503}},
    {103, "KPEnter", {1048, 409, 1094, 503}},
};

bool isAbsent(const SkinRect& rect) {
    return rect == kAbsent;
}

} // namespace

bool MainWindowHasBacklight(int modelType) {
    return modelType != 2 && modelType != 3;
}

SkinTable MainWindowElements(int modelType) {
    const bool backlight = MainWindowHasBacklight(modelType);
    SkinTable table;
    table.reserve(kMainWindowSlots);
    for (const CommandRow& row : kCommands) {
        const SkinRect rect = backlight ? row.withBacklight : row.withoutBacklight;
        if (!isAbsent(rect)) {
            table.push_back(Hotspot(row.id, rect));
        }
    }
    for (const LabelRow& row : kLabels) {
        const SkinRect rect = backlight ? row.withBacklight : row.withoutBacklight;
        if (!isAbsent(rect)) {
            SkinItem label = Label(row.id, row.zh, row.en, rect, row.textFormat);
            label.selectedTextColour = row.selectedTextColour;
            table.push_back(label);
        }
    }
    for (const KeyRow& row : kKeys) {
        table.push_back(KeyElement(KeyElementId(row.keyNumber), row.keyNumber, row.caption, row.rect));
    }
    table.resize(kMainWindowSlots);
    return table;
}
