#include "app/elements/ProgressElements.h"

SkinTable ProgressElements() {
    SkinTable table = {
        Hotspot(kProgressCmdClose, {332, 9, 355, 45}),
        Hotspot(kProgressCmdCancel, {237, 201, 327, 235}),
        Label(187, "正在读写键盘，请勿插拔！", "Keep the keyboard connected!", {42, 116, 333, 135}),
        Label(188, "读写进度", "Progress", {100, 13, 266, 45}),
        Label(193, "取消", "Cancel", {237, 209, 327, 235}),
    };
    table.resize(kProgressSlots);
    return table;
}
