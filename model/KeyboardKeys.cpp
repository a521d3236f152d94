#include "model/KeyboardKeys.h"

#include "model/DeviceBridge.h"

void KeyboardKeys::holdKeysOf(const ConfigDocument& doc) {
    definitions_ = definitionsOf(doc);
}

void KeyboardKeys::forget() {
    definitions_.reset();
}

bool KeyboardKeys::differFrom(const ConfigDocument& doc) const {
    return !definitions_ || *definitions_ != definitionsOf(doc);
}

KeyboardKeys::Definitions KeyboardKeys::definitionsOf(const ConfigDocument& doc) {
    Definitions definitions;
    for (int key = 1; key <= kKeyCount; ++key) {
        for (int layer = 0; layer <= 1; ++layer) {
            definitions[static_cast<std::size_t>(2 * key + layer)] = KeyDefinition(doc, layer, key);
        }
    }
    return definitions;
}
