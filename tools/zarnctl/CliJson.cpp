#include "tools/zarnctl/CliJson.h"

#include "model/AssignmentVocabulary.h"
#include "model/Catalogue.h"
#include "model/ConfigDocument.h"
#include "model/KeyAssignment.h"
#include "model/LayoutComparison.h"

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

namespace {

std::string stringArray(const std::vector<std::string>& texts) {
    std::string array = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        array += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    }
    return array + "]";
}

// One slot with everything set --json takes back: the type and values in
// set's words and a macro's or an emulation's options.
std::string slotObject(const AssignmentVocabulary& words, const ConfigDocument& doc, int key, int layer) {
    const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
    const AssignmentRequest request = RequestOf(words, doc, key, layer);
    std::string object = "{\"key\": " + number(key) + ", \"label\": " + JsonString(KeyLabel(key)) +
                         ", \"layer\": " + number(layer) + ", \"mode\": " + number(mode) +
                         ", \"type\": " + JsonString(doc.TypeName(mode)) +
                         ", \"assignment\": " + JsonString(doc.DescribeAssignment(key, layer)) +
                         ", \"values\": " + stringArray(request.values);
    if (mode == kTypeMacro) {
        object += ", \"cycles\": " + number(request.cycles.value_or(1)) +
                  ", \"playMode\": " + request.playMode.value_or("0") +
                  ", \"autoDelay\": " + (request.autoDelay.value_or(false) ? "true" : "false");
    }
    if (mode == kTypeMacro || mode == kTypeEmulation) {
        object += ", \"delay\": " + number(request.delay.value_or(0));
    }
    return object + "}";
}

} // namespace

void PrintShowJson(const ConfigDocument& doc, std::optional<int> layer, bool colours, std::ostream& out) {
    const AssignmentVocabulary words(doc);
    out << "{\n  \"model\": " << JsonString(ModelName(doc.modelType));
    if (layer) {
        out << ",\n  \"layer\": " << *layer;
    }
    out << ",\n  \"keys\": [\n";
    const int first = layer.value_or(0);
    const int last = layer.value_or(1);
    const int perKey = last - first + 1;
    printArray(out, "    ", kKeyCount * perKey,
               [&](int i) { return slotObject(words, doc, i / perKey + 1, first + i % perKey); });
    out << "  ]";
    if (colours) {
        out << ",\n  \"colours\": [\n";
        printArray(out, "    ", kKeyCount, [&](int i) {
            return "{\"key\": " + number(i + 1) + ", \"label\": " + JsonString(KeyLabel(i + 1)) +
                   ", \"colour\": " + JsonString(ColourText(doc, i + 1)) + "}";
        });
        out << "  ]";
    }
    out << "\n}\n";
}

namespace {

std::string sideObject(const ConfigDocument& doc, int key, int layer) {
    const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
    std::string status = LayerStatusText(doc, key, layer);
    status.erase(status.find_last_not_of(' ') + 1);
    return "{\"type\": " + JsonString(doc.TypeName(mode)) +
           ", \"assignment\": " + JsonString(doc.DescribeAssignment(key, layer)) +
           ", \"status\": " + JsonString(status) + "}";
}

} // namespace

void PrintDiffJson(const ConfigDocument& a, const std::string& aName, const ConfigDocument& b,
                   const std::string& bName, const std::vector<LayoutDifference>& differences,
                   std::ostream& out) {
    const bool equal = differences.empty() && a.modelType == b.modelType;
    out << "{\n  \"a\": {\"name\": " << JsonString(aName)
        << ", \"model\": " << JsonString(ModelName(a.modelType))
        << "},\n  \"b\": {\"name\": " << JsonString(bName)
        << ", \"model\": " << JsonString(ModelName(b.modelType))
        << "},\n  \"equal\": " << (equal ? "true" : "false") << ",\n  \"differences\": [";
    if (!differences.empty()) {
        out << '\n';
        printArray(out, "    ", static_cast<int>(differences.size()), [&](int i) {
            const LayoutDifference& difference = differences[static_cast<std::size_t>(i)];
            const int key = difference.key;
            std::string object = "{\"key\": " + number(key) + ", \"label\": " + JsonString(KeyLabel(key));
            if (difference.colour) {
                return object + ", \"what\": \"colour\", \"a\": " + JsonString(ColourText(a, key)) +
                       ", \"b\": " + JsonString(ColourText(b, key)) + "}";
            }
            return object + ", \"what\": \"assignment\", \"layer\": " + number(difference.layer) +
                   ", \"a\": " + sideObject(a, key, difference.layer) +
                   ", \"b\": " + sideObject(b, key, difference.layer) + "}";
        });
        out << "  ";
    }
    out << "]\n}\n";
}
