#include "app/elements/KeySettingsElements.h"

namespace {

constexpr ColorRef kGreen = Rgb24(0, 255, 0);

struct LabelRow {
    int id;
    const char* zh;
    const char* en;
    SkinRect rect;
    int textFormat = kTextCentre;
};

struct CodeButton {
    int id;
    int code;
    SkinRect rect;
    const char* tipZh;
    const char* tipEn;
};

SkinItem listRow(int id, SkinRect rect, int textFormat = kTextLeft) {
    SkinItem row = Hotspot(id, rect);
    row.scaledLabel = 1;
    row.textFormat = textFormat;
    row.fontIndex = 11;
    return row;
}

SkinItem codeButton(const CodeButton& button) {
    SkinItem item = Hotspot(button.id, button.rect);
    item.code = button.code;
    if (button.tipZh != nullptr) {
        item.tips = {{"zh-CN", button.tipZh}, {"en-US", button.tipEn}};
    }
    return item;
}

void addLabels(SkinTable& table, std::initializer_list<LabelRow> rows) {
    for (const LabelRow& row : rows) {
        table.push_back(Label(row.id, row.zh, row.en, row.rect, row.textFormat));
    }
}

// Record / Stop Rec caption pair of a capture switch: the second is hidden
// until the capture runs.
void addRecordLabels(SkinTable& table, int recordId, int stopId, SkinRect rect) {
    table.push_back(Label(recordId, "开始录制", "Record", rect));
    SkinItem stop = Label(stopId, "停止录制", "Stop Rec", rect);
    stop.textColour = kGreen;
    stop.shown = 0;
    table.push_back(stop);
}

void addRows(SkinTable& table, KeySettingsListRows rows, int left, int top, int right, int bottom, int pitch,
             int textFormat = kTextLeft) {
    for (int k = 0; k < rows.rows; ++k) {
        table.push_back(
            listRow(rows.firstId + k, {left, top + pitch * k, right, bottom + pitch * k}, textFormat));
    }
}

void addFrame(SkinTable& table) {
    table.push_back(Hotspot(kKsCmdDefault, {33, 320, 117, 353}));
    table.push_back(Hotspot(kKsCmdClear, {130, 320, 212, 353}));
    table.push_back(Hotspot(kKsCmdOk, {365, 320, 449, 353}));
    table.push_back(Hotspot(kKsCmdCancel, {462, 320, 544, 353}));
    for (int n = 0; n < kKeySettingsPages; ++n) {
        table.push_back(Hotspot(kKsCmdFirstTab + n, {18 + 78 * n, 48, 95 + 78 * n, 80}));
    }
    table.push_back(Hotspot(kKsCmdClose, {545, 10, 565, 30}));

    addLabels(table, {
                         {40, "按键设置面板", "Key Settings", {1, 12, 573, 33}},
                         {37, "恢复默认", "Default", {37, 328, 117, 353}},
                         {41, "清空配置", "Clear", {130, 328, 212, 353}},
                         {38, "确定", "OK", {365, 328, 449, 353}},
                         {39, "取消", "Cancel", {462, 328, 544, 353}},
                     });
    static const char* const kTabs[kKeySettingsPages][2] = {
        {"单/组合键", "Single/Com"}, {"宏定义", "Macro"}, {"模拟击键", "Emulate"},
        {"多媒体", "Multimedia"},    {"鼠标", "Mouse"},   {"操控键", "Function"},
        {"电源键", "Power"},
    };
    for (int n = 0; n < kKeySettingsPages; ++n) {
        table.push_back(Label(30 + n, kTabs[n][0], kTabs[n][1], {18 + 78 * n, 56, 95 + 78 * n, 80}));
    }
}

void addSingleComboPage(SkinTable& table) {
    table.push_back(Hotspot(101, {50, 100, 110, 125}));
    table.push_back(Hotspot(102, {210, 100, 275, 125}));
    table.push_back(Hotspot(103, {45, 135, 160, 155}));
    table.push_back(Hotspot(104, {43, 204, 165, 238}));
    table.push_back(Hotspot(108, {43, 242, 165, 278}));
    table.push_back(Hotspot(105, {220, 242, 280, 278}));
    table.push_back(Hotspot(106, {290, 242, 350, 278}));
    table.push_back(Hotspot(107, {375, 204, 525, 238}));
    table.push_back(Hotspot(109, {375, 242, 525, 278}));
    addRows(table, kComboLibraryRows, 214, 136, 355, 151, 16);
    addRows(table, kComboKeysRows, 378, 136, 522, 151, 16, kTextCentre);

    SkinItem single = Label(151, "单键", "Single", {70, 104, 130, 125});
    single.selectedTextColour = kGreen;
    table.push_back(single);
    SkinItem combo = Label(152, "组合键", "Combo", {230, 104, 275, 125});
    combo.selectedTextColour = kGreen;
    table.push_back(combo);
    addLabels(table, {{153, "请输入一个单键：", "Press a key:", {45, 135, 160, 155}}});
    addRecordLabels(table, 154, 155, {43, 212, 165, 238});
    addLabels(table, {
                         {158, "", "", {48, 166, 160, 188}},
                         {156, "新建", "New", {220, 250, 280, 278}},
                         {157, "删除", "Delete", {290, 250, 350, 278}},
                     });
    addRecordLabels(table, 159, 160, {375, 212, 525, 238});
    addLabels(table, {
                         {161, "组合键列表", "Combo List", {214, 118, 355, 134}, kTextLeft},
                         {162, "录制框", "Record List", {378, 118, 522, 134}, kTextLeft},
                         {163, "虚拟键盘输入", "Virtual Key Input", {43, 250, 165, 278}},
                         {164, "虚拟键盘输入", "Virtual Key Input", {375, 250, 525, 278}},
                     });
}

void addMacroPage(SkinTable& table) {
    table.push_back(Hotspot(201, {390, 115, 405, 130}));
    table.push_back(Hotspot(208, {390, 135, 405, 150}));
    table.push_back(Hotspot(209, {390, 155, 405, 170}));
    table.push_back(Hotspot(203, {390, 175, 405, 190}));
    table.push_back(Hotspot(210, {390, 195, 405, 210}));
    table.push_back(Hotspot(205, {45, 258, 105, 288}));
    table.push_back(Hotspot(206, {114, 258, 174, 288}));
    table.push_back(Hotspot(207, {385, 215, 539, 248}));
    addRows(table, kMacroLibraryRows, 37, 114, 178, 127, 14);
    addRows(table, kMacroRecordRows, 213, 114, 355, 127, 14);

    addLabels(table,
              {
                  {261, "次数播放", "Times Play", {407, 111, 475, 129}, kTextLeft},
                  {275, "次", "times", {522, 111, 580, 129}, kTextLeft},
                  {272, "按下播放，释放停止", "Press play, release stop", {407, 132, 570, 150}, kTextLeft},
                  {273, "按键开/关播放", "Press to play/stop", {407, 153, 520, 171}, kTextLeft},
                  {262, "自动延时", "Auto delay", {407, 174, 475, 192}, kTextLeft},
                  {262, "毫秒", "ms", {522, 174, 580, 192}, kTextLeft},
                  {274, "记录延时", "Record delay", {407, 195, 510, 213}, kTextLeft},
                  {265, "新建", "New", {45, 264, 105, 288}},
                  {266, "删除", "Remove", {114, 264, 174, 288}},
              });
    addRecordLabels(table, 267, 268, {385, 224, 539, 248});
    addLabels(
        table,
        {
            {269,
             "温馨提示：录制框中单击鼠标右键可插入鼠标功能\n录制框中选中延时参数并双击鼠标左键可对其编辑",
             "Tip:Right of mouse click to insert mouse actions in\nrecord list. Select delay "
             "parameter and double click\nleft of mouse to edit in record list.",
             {230, 254, 539, 308},
             kTextLeft | kTextVCentre},
            {270, "宏列表", "Macro List", {37, 95, 178, 111}, kTextLeft},
            {271, "录制框", "Record List", {213, 95, 355, 111}, kTextLeft},
        });
}

void addEmulatePage(SkinTable& table) {
    table.push_back(Hotspot(301, {383, 110, 467, 140}));
    table.push_back(Hotspot(302, {383, 150, 538, 176}));
    table.push_back(Hotspot(305, {45, 258, 105, 288}));
    table.push_back(Hotspot(306, {114, 258, 174, 288}));
    addRows(table, kEmulationLibraryRows, 37, 114, 178, 127, 14);
    addRows(table, kEmulationRecordRows, 213, 114, 355, 127, 14);

    addLabels(table, {
                         {351, "延时", "Delay", {387, 112, 447, 130}},
                         {351, "毫秒", "ms", {510, 112, 550, 130}},
                     });
    addRecordLabels(table, 352, 353, {383, 154, 538, 176});
    addLabels(table, {
                         {355, "新建", "New", {45, 264, 105, 288}},
                         {356, "删除", "Remove", {114, 264, 174, 288}},
                         {357, "模拟击键列表", "Emu List", {37, 95, 178, 111}, kTextLeft},
                         {358, "录制框", "Record List", {213, 95, 355, 111}, kTextLeft},
                     });
}

SkinRect mediaRect(int k, int top, int bottom) {
    return {46 + 50 * k, top, 81 + 50 * k, bottom};
}

void addMultimediaPage(SkinTable& table) {
    const CodeButton kButtons[] = {
        {401, 115, mediaRect(0, 152, 188), "播放器", "Media Select"},
        {402, 111, mediaRect(1, 152, 188), "播放/暂停", "Play/Pause"},
        {403, 110, mediaRect(2, 152, 188), "停止", "Stop"},
        {404, 108, mediaRect(3, 152, 188), "下一首", "Next Track"},
        {405, 109, mediaRect(4, 152, 188), "上一首", "Previous Track"},
        {406, 114, mediaRect(5, 152, 188), "音量减小", "Volume Down"},
        {407, 113, mediaRect(6, 152, 188), "音量加大", "Volume Up"},
        {408, 112, mediaRect(7, 152, 188), "静音", "Mute"},
        {409, 121, mediaRect(0, 235, 272), "后退", "WWW Back"},
        {410, 122, mediaRect(1, 235, 272), "前进", "WWW Forward"},
        {411, 123, mediaRect(2, 235, 272), "停止", "WWW Stop"},
        {412, 124, mediaRect(3, 235, 272), "刷新", "WWW Refresh"},
        {413, 125, mediaRect(4, 235, 272), "收藏夹", "WWW Favorites"},
        {414, 119, mediaRect(5, 235, 272), "搜索", "WWW Search"},
        {415, 116, mediaRect(6, 235, 272), "邮件", "E-mail"},
        {416, 120, mediaRect(7, 235, 272), "主页", "WWW Home"},
        {417, 118, mediaRect(8, 235, 272), "资源管理器", "My Computer"},
        {418, 117, mediaRect(9, 235, 272), "计算器", "Calculator"},
    };
    for (const CodeButton& button : kButtons) {
        table.push_back(codeButton(button));
    }
    addLabels(table, {
                         {451, "多媒体功能", "Media Function", {46, 127, 167, 150}, kTextLeft},
                         {452, "浏览器功能", "Browser Function", {46, 207, 167, 230}, kTextLeft},
                     });
}

SkinRect mouseRect(int column, int k) {
    return column == 0 ? SkinRect{37, 114 + 17 * k, 140, 130 + 17 * k}
                       : SkinRect{154, 114 + 17 * k, 258, 130 + 17 * k};
}

void addMousePage(SkinTable& table) {
    struct MouseButton {
        int id;
        int code;
        SkinRect rect;
        const char* zh;
        const char* en;
    };
    const MouseButton kButtons[] = {
        {502, 126, mouseRect(0, 0), "左移", "Move Left"},
        {503, 127, mouseRect(0, 1), "右移", "Move Right"},
        {504, 128, mouseRect(0, 2), "上移", "Move Up"},
        {505, 129, mouseRect(0, 3), "下移", "Move Down"},
        {506, 130, mouseRect(0, 4), "左键", "Left Click"},
        {507, 131, mouseRect(0, 5), "右键", "Right Click"},
        {508, 132, mouseRect(0, 6), "中键", "Middle Click"},
        {509, 133, mouseRect(0, 7), "滚轮前翻", "Wheel Up"},
        {510, 134, mouseRect(0, 8), "滚轮后翻", "Wheel Down"},
        {511, 199, mouseRect(0, 9), "左键双击", "Left Double Click"},
        {512, 158, mouseRect(1, 0), "单元时间", "Uint Time"},
        {513, 157, mouseRect(1, 1), "单元像素", "Uint Pixel"},
        {514, 173, mouseRect(1, 2), "首延迟", "First Delay"},
    };
    for (const MouseButton& button : kButtons) {
        table.push_back(codeButton({button.id, button.code, button.rect, nullptr, nullptr}));
    }
    for (const MouseButton& button : kButtons) {
        table.push_back(Label(button.id + 50, button.zh, button.en, button.rect));
    }
}

SkinRect functionRect(int k, int top) {
    return {36 + 53 * k, top, 72 + 53 * k, top + 36};
}

void addFunctionPage(SkinTable& table) {
    const CodeButton kButtons[] = {
        {601, 170, functionRect(0, 112), "蓝牙设备3", "Bluetooth device3"},
        {602, 169, functionRect(1, 112), "蓝牙设备2", "Bluetooth device2"},
        {603, 168, functionRect(2, 112), "蓝牙设备1", "Bluetooth device1"},
        {604, 167, functionRect(3, 112), "有线/无线切换", "Wire/Wireless Exchange"},
        {605, 151, functionRect(4, 112), "按键触发行程切换", "Adjust Trigger Point"},
        {606, 171, functionRect(5, 112), "游戏模式", "Game mode"},
        {607, 172, functionRect(6, 112), "节能模式", "ECO mode"},
        {608, 155, functionRect(7, 112), "Win/Mac系统切换", "Win/Mac System Exchange"},
        {609, 180, functionRect(8, 112), "蓝牙设备4", "Bluetooth device4"},
        {610, 153, functionRect(0, 155), "锁Win", "Win Lock"},
        {611, 154, functionRect(1, 155), "锁Fn", "Fn Lock"},
        {612, 150, functionRect(2, 155), "锁键盘", "Keyboard Lock"},
        {613, 174, functionRect(3, 155), "按键击打速率", "Key Repeat Rate"},
        {614, 175, functionRect(4, 155), "按键响应延迟", "Key Response Delay"},
        {615, 156, functionRect(5, 155), "FN键,按键的2个层须同时设置",
         "FN key,Key's 2 layer must be set to FN"},
        {616, 159, functionRect(6, 155), "可编程键盘", "Programmable Keyboard"},
        {617, 152, functionRect(7, 155), "Caps/Ctrl切换", "Caps/Ctrl Exchange"},
        {618, 181, functionRect(8, 155), "蓝牙设备5", "Bluetooth device5"},
        {620, 137, functionRect(0, 220), "演示", "Demonstrate"},
        {621, 138, functionRect(1, 220), "流星雨", "Star shower"},
        {622, 139, functionRect(2, 220), "涟漪", "Riffle"},
        {623, 144, functionRect(3, 220), "背光亮度-", "Backlight Lighteness-"},
        {624, 145, functionRect(4, 220), "背光亮度+", "Backlight Lighteness+"},
        {625, 160, functionRect(5, 220), "背光录制1", "Backlight Record1"},
        {626, 161, functionRect(6, 220), "背光录制2", "Backlight Record2"},
        {627, 162, functionRect(7, 220), "背光录制3", "Backlight Record3"},
        {628, 163, functionRect(8, 220), "背光录制4", "Backlight Record4"},
        {630, 135, functionRect(0, 265), "背光开关", "Backlight switch"},
        {631, 141, functionRect(1, 265), "背光呼吸", "Backlight Breathe"},
        {632, 136, functionRect(2, 265), "背光自定义", "Backlight Macro"},
        {633, 143, functionRect(3, 265), "频率+", "Breathe Frequence+"},
        {634, 142, functionRect(4, 265), "频率-", "Breathe Frequence-"},
        {635, 140, functionRect(5, 265), "演示暂停", "Demo Stop"},
        {636, 148, functionRect(6, 265), "背景颜色切换", "Back Color Exchange"},
        {637, 164, functionRect(7, 265), "背光录制5", "Backlight Record5"},
        {638, 165, functionRect(8, 265), "背光录制6", "Backlight Record6"},
    };
    for (const CodeButton& button : kButtons) {
        table.push_back(codeButton(button));
    }
    addLabels(table, {
                         {651, "按键功能", "Key Function", {36, 92, 167, 150}, kTextLeft},
                         {652, "背光功能", "Backlight Function", {36, 200, 167, 230}, kTextLeft},
                     });
}

void addPowerPage(SkinTable& table) {
    const CodeButton kButtons[] = {
        {701, 75, {162, 160, 242, 190}, "唤醒", "WakeUp"},
        {702, 76, {251, 160, 331, 190}, "睡眠", "Sleep"},
        {703, 77, {340, 160, 420, 190}, "电源", "Power"},
    };
    for (const CodeButton& button : kButtons) {
        table.push_back(codeButton(button));
    }
    addLabels(table, {
                         {751, "唤醒", "Wake", {162, 166, 242, 190}},
                         {752, "睡眠", "Sleep", {251, 166, 331, 190}},
                         {753, "电源", "Power", {340, 166, 420, 190}},
                     });
}

} // namespace

SkinTable KeySettingsElements() {
    SkinTable table;
    table.reserve(kKeySettingsSlots);
    addFrame(table);
    addSingleComboPage(table);
    addMacroPage(table);
    addEmulatePage(table);
    addMultimediaPage(table);
    addMousePage(table);
    addFunctionPage(table);
    addPowerPage(table);
    table.resize(kKeySettingsSlots);
    return table;
}
