#include "tools/zarnctl/CliJson.h"

#include "model/Catalogue.h"
#include "model/ConfigDocument.h"

#include <cstdio>

namespace {

std::string number(long long value) {
    return std::to_string(value);
}

template <typename Element>
void printArray(std::ostream& out, const char* indent, int count, Element element) {
    for (int i = 0; i < count; ++i) {
        out << indent << element(i) << (i + 1 < count ? ",\n" : "\n");
    }
}

} // namespace

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

void PrintListJson(const std::vector<KeyboardListing>& keyboards, std::ostream& out) {
    out << "{\n  \"keyboards\": [";
    if (!keyboards.empty()) {
        out << '\n';
        printArray(out, "    ", static_cast<int>(keyboards.size()), [&](int i) {
            const KeyboardListing& keyboard = keyboards[static_cast<std::size_t>(i)];
            return "{\"model\": " + JsonString(ModelName(keyboard.modelType)) +
                   ", \"modelType\": " + number(keyboard.modelType) +
                   ", \"path\": " + JsonString(keyboard.device.path) + "}";
        });
        out << "  ";
    }
    out << "]\n}\n";
}

void PrintCountersJson(const ConfigDocument& doc, std::ostream& out) {
    const auto keyObject = [&](int key) {
        return "{\"key\": " + number(key) + ", \"label\": " + JsonString(KeyLabel(key)) +
               ", \"count\": " + number(doc.keyCounters[static_cast<std::size_t>(key)]) + "}";
    };
    out << "{\n  \"model\": " << JsonString(ModelName(doc.modelType)) << ",\n  \"counters\": [\n";
    printArray(out, "    ", kKeyCount, [&](int i) { return keyObject(i + 1); });
    out << "  ],\n";
    out << "  \"mostUsedKey\": " << (doc.highestKey > 0 ? keyObject(doc.highestKey) : "null") << ",\n";
    out << "  \"leastUsedKey\": " << (doc.lowestKey > 0 ? keyObject(doc.lowestKey) : "null") << "\n}\n";
}

void PrintShowJson(const ConfigDocument& doc, int layer, std::ostream& out) {
    out << "{\n  \"model\": " << JsonString(ModelName(doc.modelType)) << ",\n  \"layer\": " << layer
        << ",\n  \"keys\": [\n";
    printArray(out, "    ", kKeyCount, [&](int i) {
        const int key = i + 1;
        const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
        return "{\"key\": " + number(key) + ", \"label\": " + JsonString(KeyLabel(key)) +
               ", \"mode\": " + number(mode) + ", \"type\": " + JsonString(doc.TypeName(mode)) +
               ", \"assignment\": " + JsonString(doc.DescribeAssignment(key, layer)) + "}";
    });
    out << "  ]\n}\n";
}
