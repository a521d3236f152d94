#include "tools/zarnctl/JsonEdits.h"

#include "model/AssignmentVocabulary.h"
#include "model/Catalogue.h"
#include "tools/zarnctl/EditText.h"
#include "tools/zarnctl/JsonValue.h"

#include <algorithm>

namespace {

class JsonEditReader {
public:
    JsonEditReader(const AssignmentVocabulary& words, std::vector<std::string>& notes)
        : words_(words), notes_(notes) {}

    std::optional<JsonEdits> read(const JsonValue& root, std::string& error);

private:
    std::optional<int> keyOf(const JsonValue& entry, const std::string& where, std::string& error) const;
    bool readKey(const JsonValue& entry, const std::string& where, int defaultLayer, JsonEdits& edits,
                 std::string& error);
    bool readColour(const JsonValue& entry, const std::string& where, JsonEdits& edits,
                    std::string& error) const;

    const AssignmentVocabulary& words_;
    std::vector<std::string>& notes_;
};

std::optional<int> JsonEditReader::keyOf(const JsonValue& entry, const std::string& where,
                                         std::string& error) const {
    if (const JsonValue* key = entry.member("key"); key && key->integer) {
        if (*key->integer < 1 || *key->integer > kKeyCount) {
            error = where + ": \"key\" " + key->text + " is not a key number (1 to 103)";
            return std::nullopt;
        }
        return static_cast<int>(*key->integer);
    }
    for (const char* field : {"key", "label"}) {
        if (const JsonValue* name = entry.member(field); name && name->kind == JsonValue::Kind::String) {
            const NameMatch match = words_.key(name->text);
            if (!match) {
                error = where + ": " + KeyRefusal(name->text, match);
                return std::nullopt;
            }
            return match.value;
        }
    }
    error = where + ": no \"key\"";
    return std::nullopt;
}

bool JsonEditReader::readKey(const JsonValue& entry, const std::string& where, int defaultLayer,
                             JsonEdits& edits, std::string& error) {
    const auto key = keyOf(entry, where, error);
    if (!key) {
        return false;
    }
    const std::string place = where + " (" + KeyHeading(*key) + ")";
    int layer = defaultLayer;
    if (const JsonValue* value = entry.member("layer")) {
        if (!value->integer || (*value->integer != 0 && *value->integer != 1)) {
            error = place + ": \"layer\" must be 0 or 1";
            return false;
        }
        layer = static_cast<int>(*value->integer);
    }
    AssignmentRequest request;
    if (const JsonValue* type = entry.member("type"); type && type->kind == JsonValue::Kind::String) {
        request.type = AssignmentTypeOfName(type->text);
        if (request.type < 0) {
            error = place + ": \"" + type->text + "\" is not a type";
            return false;
        }
    } else if (const JsonValue* mode = entry.member("mode");
               mode && mode->integer && *mode->integer >= 0 && *mode->integer < kTypeCount) {
        request.type = static_cast<int>(*mode->integer);
    } else {
        error = place + ": no \"type\"";
        return false;
    }
    if (const JsonValue* values = entry.member("values")) {
        if (values->kind != JsonValue::Kind::Array) {
            error = place + ": \"values\" must be a list of names";
            return false;
        }
        for (const JsonValue& value : values->items) {
            if (value.kind != JsonValue::Kind::String) {
                error = place + ": \"values\" must be a list of names";
                return false;
            }
            request.values.push_back(value.text);
        }
    }
    // Only the options of the type count: an entry whose type was edited
    // may still carry those of the one before.
    const auto integer = [&](const char* field, std::optional<long long>& target) {
        if (const JsonValue* value = entry.member(field)) {
            if (!value->integer) {
                error = place + ": \"" + field + "\" must be a whole number";
                return false;
            }
            target = *value->integer;
        }
        return true;
    };
    if (request.type == kTypeMacro || request.type == kTypeEmulation) {
        if (!integer("delay", request.delay)) {
            return false;
        }
    }
    if (request.type == kTypeMacro) {
        if (!integer("cycles", request.cycles)) {
            return false;
        }
        if (const JsonValue* mode = entry.member("playMode")) {
            request.playMode = mode->text;
        }
        if (const JsonValue* automatic = entry.member("autoDelay")) {
            if (automatic->kind != JsonValue::Kind::Bool) {
                error = place + ": \"autoDelay\" must be true or false";
                return false;
            }
            request.autoDelay = automatic->boolean;
        }
    }
    AssignmentOutcome outcome = BuildAssignment(words_, request);
    if (!outcome.assignment) {
        error = place + ": " + outcome.error;
        return false;
    }
    for (const std::string& note : outcome.notes) {
        notes_.push_back(place + ": " + note);
    }
    edits.keys.push_back({*key, layer, std::move(*outcome.assignment)});
    return true;
}

bool JsonEditReader::readColour(const JsonValue& entry, const std::string& where, JsonEdits& edits,
                                std::string& error) const {
    const auto key = keyOf(entry, where, error);
    if (!key) {
        return false;
    }
    const JsonValue* text = entry.member("colour");
    const auto colour =
        text && text->kind == JsonValue::Kind::String ? ColourOfText(text->text) : std::nullopt;
    if (!colour) {
        error = where + " (" + KeyHeading(*key) + "): \"colour\" must be \"#RRGGBB\"";
        return false;
    }
    edits.colours.emplace_back(*key, *colour);
    return true;
}

std::optional<JsonEdits> JsonEditReader::read(const JsonValue& root, std::string& error) {
    if (root.kind != JsonValue::Kind::Object) {
        error = "the document is not an object as show --json prints it";
        return std::nullopt;
    }
    JsonEdits edits;
    if (const JsonValue* model = root.member("model"); model && model->kind == JsonValue::Kind::String) {
        edits.model = model->text;
    }
    int defaultLayer = 0;
    if (const JsonValue* layer = root.member("layer"); layer && layer->integer && *layer->integer == 1) {
        defaultLayer = 1;
    }
    const JsonValue* keys = root.member("keys");
    const JsonValue* colours = root.member("colours");
    if (!keys && !colours) {
        error = "the document has neither \"keys\" nor \"colours\"";
        return std::nullopt;
    }
    for (const auto& [name, list] : {std::pair("keys", keys), std::pair("colours", colours)}) {
        if (list == nullptr) {
            continue;
        }
        if (list->kind != JsonValue::Kind::Array) {
            error = std::string("\"") + name + "\" must be a list";
            return std::nullopt;
        }
        for (std::size_t i = 0; i < list->items.size(); ++i) {
            const JsonValue& entry = list->items[i];
            const std::string where = std::string(name) + "[" + std::to_string(i) + "]";
            if (entry.kind != JsonValue::Kind::Object) {
                error = where + " is not an object";
                return std::nullopt;
            }
            const bool read = list == keys ? readKey(entry, where, defaultLayer, edits, error)
                                           : readColour(entry, where, edits, error);
            if (!read) {
                return std::nullopt;
            }
        }
    }
    return edits;
}

} // namespace

std::optional<JsonEdits> ReadJsonEdits(const JsonValue& root, const AssignmentVocabulary& words,
                                       std::vector<std::string>& notes, std::string& error) {
    return JsonEditReader(words, notes).read(root, error);
}

void OrderForStoring(std::vector<SlotEdit>& edits) {
    std::stable_sort(edits.begin(), edits.end(), [](const SlotEdit& a, const SlotEdit& b) {
        const auto rank = [](const SlotEdit& edit) {
            return edit.assignment.type == kTypeFunction && edit.assignment.code == kFnCode ? 0 : 1;
        };
        return std::pair(a.key, rank(a)) < std::pair(b.key, rank(b));
    });
}
