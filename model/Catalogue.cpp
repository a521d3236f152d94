#include "model/Catalogue.h"

namespace {

struct TypeNames {
    const char* zh;
    const char* en;
};

constexpr TypeNames kTypeNames[kTypeCount] = {
    {"未设置", "Not set"}, {"单键", "Single"},        {"组合键", "Combo"},
    {"宏键", "Macro"},     {"模拟击键", "Emulation"}, {"多媒体键", "Multimedia"},
    {"鼠标键", "Mouse"},   {"操控键", "Function"},    {"电源键", "Power"},
};

struct ModelRow {
    int modelType;
    std::uint16_t productId;
    const char* name;
    const char* firmwarePrefix;
    bool backlight;
};

// The first row also stands for every value that is not one of the four.
constexpr ModelRow kModels[] = {
    {1, 0x5039, "ZarnRGB.BT", "ZarnRGB.BT_", true},
    {2, 0x5139, "ZarnBT", "ZarnBT_", false},
    {3, 0x5239, "Zarn", "Zarn_", false},
    {4, 0x5339, "ZarnRGB", "ZarnRGB_", true},
};

const ModelRow& modelRow(int modelType) {
    for (const ModelRow& row : kModels) {
        if (row.modelType == modelType) {
            return row;
        }
    }
    return kModels[0];
}

} // namespace

int ClassifyCode(int code) {
    if (code <= 0) {
        return kTypeNotSet;
    }
    if (code >= 75 && code <= 77) {
        return kTypePower;
    }
    // The mouse-unit and first-delay settings live among the function codes
    // but are edited as mouse keys.
    if (code == 157 || code == 158 || code == 173) {
        return kTypeMouse;
    }
    if (code >= 1 && code <= 107) {
        return kTypeSingle;
    }
    if (code >= 108 && code <= 125) {
        return kTypeMultimedia;
    }
    if (code >= 126 && code <= 134) {
        return kTypeMouse;
    }
    if (code >= 135 && code <= 198) {
        return kTypeFunction;
    }
    return kTypeSingle;
}

const char* TypeNameZh(int type) {
    return type >= 0 && type < kTypeCount ? kTypeNames[type].zh : "";
}

const char* TypeNameEn(int type) {
    return type >= 0 && type < kTypeCount ? kTypeNames[type].en : "";
}

bool HasBacklight(int modelType) {
    return modelRow(modelType).backlight;
}

const char* FirmwarePrefix(int modelType) {
    return modelRow(modelType).firmwarePrefix;
}

int ModelTypeFromName(std::string_view name) {
    for (const ModelRow& row : kModels) {
        if (name == row.name) {
            return row.modelType;
        }
    }
    return 0;
}

int ModelTypeOfProduct(std::uint16_t productId) {
    for (const ModelRow& row : kModels) {
        if (row.productId == productId) {
            return row.modelType;
        }
    }
    return 0;
}

const char* ModelName(int modelType) {
    return modelRow(modelType).name;
}
