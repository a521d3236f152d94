#include "app/elements/SkinItem.h"

SkinItem Hotspot(int id, SkinRect rect) {
    SkinItem item;
    item.id = id;
    item.rect = rect;
    return item;
}

SkinItem Label(int id, const std::string& zh, const std::string& en, SkinRect rect, int textFormat,
               int fontIndex) {
    SkinItem item;
    item.id = id;
    item.captions = {{"zh-CN", zh}, {"en-US", en}};
    item.rect = rect;
    item.isLabel = 1;
    item.textFormat = textFormat;
    item.fontIndex = fontIndex;
    return item;
}

SkinItem KeyElement(int id, int keyNumber, const std::string& caption, SkinRect rect) {
    SkinItem item;
    item.id = id;
    item.keyNumber = keyNumber;
    item.captions = {{"zh-CN", caption}, {"en-US", caption}};
    item.rect = rect;
    return item;
}
