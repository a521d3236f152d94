#include "app/elements/FirmwareUpdateElements.h"

SkinTable FirmwareUpdateElements() {
    SkinTable table = {
        Hotspot(kFirmwareCmdClose, {332, 9, 355, 45}),
        Hotspot(kFirmwareCmdGetVersion, {220, 70, 333, 100}),
        Hotspot(kFirmwareCmdOpen, {270, 108, 333, 140}),
        Hotspot(kFirmwareCmdUpdate, {47, 201, 129, 235}),
        Hotspot(kFirmwareCmdCancel, {237, 201, 327, 235}),
        Label(187, "载入文件：", "File", {40, 116, 117, 135}),
        Label(188, "键盘固件升级", "Firmware Update", {100, 13, 266, 45}),
        Label(190, "获取固件版本", "Get Version", {220, 76, 333, 100}),
        Label(191, "打开", "Open", {270, 116, 333, 138}),
        Label(192, "更新", "Update", {47, 209, 129, 235}),
        Label(193, "取消", "Cancel", {237, 209, 327, 235}),
    };
    table.resize(kFirmwareSlots);
    return table;
}
