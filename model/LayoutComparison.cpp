#include "model/LayoutComparison.h"

#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"

#include <cstdio>

std::vector<LayoutDifference> CompareLayouts(const ConfigDocument& a, const ConfigDocument& b, bool colours) {
    std::vector<LayoutDifference> differences;
    for (int key = 1; key <= kKeyCount; ++key) {
        for (int layer = 0; layer <= 1; ++layer) {
            if (KeyDefinition(a, layer, key) != KeyDefinition(b, layer, key)) {
                differences.push_back({key, layer, false});
            }
        }
        const auto index = static_cast<std::size_t>(key);
        if (colours && a.keyColours[index] != b.keyColours[index]) {
            differences.push_back({key, 0, true});
        }
    }
    return differences;
}

std::string LayerStatusText(const ConfigDocument& doc, int key, int layer) {
    if (key < 1 || key > kKeyCount || layer < 0 || layer > 1) {
        return {};
    }
    const bool chinese = doc.uiLanguage == "zh-CN";
    const char* heading =
        layer == 0 ? (chinese ? "顶层键：" : "Top layer Key: ") : (chinese ? "FN组合键：" : "Fn layer Key: ");
    const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
    return heading + doc.TypeName(mode) + " " + doc.DescribeAssignment(key, layer);
}

std::string ColourText(const ConfigDocument& doc, int key) {
    if (key < 0 || key > kKeyCount) {
        return {};
    }
    const Rgb& colour = doc.keyColours[static_cast<std::size_t>(key)];
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour[0] & 0xFF, colour[1] & 0xFF, colour[2] & 0xFF);
    return text;
}
