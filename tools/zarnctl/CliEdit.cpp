#include "tools/zarnctl/CliCommands.h"

#include "model/AssignmentVocabulary.h"
#include "model/DeviceBridge.h"
#include "model/KeyAssignment.h"
#include "model/LayoutComparison.h"
#include "model/ProfileFile.h"
#include "tools/zarnctl/CliJson.h"
#include "tools/zarnctl/CliKeyboard.h"
#include "tools/zarnctl/CliSupport.h"
#include "tools/zarnctl/EditText.h"
#include "tools/zarnctl/ExitStatus.h"
#include "tools/zarnctl/JsonEdits.h"
#include "tools/zarnctl/JsonValue.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <sstream>

namespace {

// Far above show --json's own size; more is not an edit of a layout.
constexpr std::size_t kLargestJson = 16u * 1024 * 1024;

// The options of set and colour, wherever they stand before "--".
struct EditOptions {
    bool device = false;
    bool verify = false;
    std::optional<int> layer;
    std::optional<std::string> model;
    std::optional<std::string> json;
    AssignmentRequest assignment;
    std::vector<std::string> operands;
};

std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const bool plus = text.starts_with('+');
    const auto* first = text.data() + (plus ? 1 : 0);
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, end, value);
    if (ptr != end || first == end || (ec != std::errc{} && ec != std::errc::result_out_of_range)) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // Clamped like any other number out of range.
        value = text.starts_with('-') ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return value;
}

std::optional<EditOptions> editOptions(const CliRequest& request, bool assignments) {
    EditOptions options;
    const std::vector<std::string>& args = request.args;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (operandsOnly || !arg.starts_with("--")) {
            options.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        if (arg == "--device") {
            options.device = true;
            continue;
        }
        if (arg == "--verify") {
            options.verify = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool known = name == "--model" ||
                           (assignments && (name == "--layer" || name == "--delay" || name == "--cycles" ||
                                            name == "--play-mode" || name == "--json"));
        if (!known) {
            commandUsage(request, "unknown option '" + arg + "'");
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 == args.size()) {
                commandUsage(request, name + " needs a value");
                return std::nullopt;
            }
            value = args[++i];
        }
        if (name == "--model") {
            if (ModelTypeFromName(*value) == 0) {
                commandUsage(request, "unknown model '" + *value + "' (ZarnRGB.BT, ZarnBT, Zarn or ZarnRGB)");
                return std::nullopt;
            }
            options.model = *value;
        } else if (name == "--json") {
            options.json = *value;
        } else if (name == "--play-mode") {
            options.assignment.playMode = *value;
        } else if (name == "--layer") {
            if (*value != "0" && *value != "1") {
                commandUsage(request, "--layer needs 0 or 1, not '" + *value + "'");
                return std::nullopt;
            }
            options.layer = *value == "1" ? 1 : 0;
        } else {
            const auto number = wholeNumber(*value);
            if (!number) {
                commandUsage(request, name + " needs a whole number, not '" + *value + "'");
                return std::nullopt;
            }
            (name == "--delay" ? options.assignment.delay : options.assignment.cycles) = *number;
        }
    }
    return options;
}

std::string withoutTrailingSpace(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The profile an edit goes to: opened when it exists, otherwise started
// from a factory profile (--model, the keyboard present, or the model every
// unknown one stands for) and said so.
int openProfileForEdit(CliKeyboard& target, const std::string& path, const EditOptions& options,
                       const std::string& modelOfJson, const CliRequest& request) {
    ConfigDocument& doc = target.document();
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) || std::filesystem::is_symlink(path, ignored)) {
        if (const int status = loadAnyProfile(target, path, request.err); status != kExitDone) {
            return status;
        }
        if (options.model && ModelTypeFromName(*options.model) != doc.modelType) {
            request.err << "The profile " << path << " belongs to " << target.modelName() << ", not "
                        << *options.model << '\n';
            return kExitRefused;
        }
        return kExitDone;
    }
    int model = 0;
    if (options.model) {
        model = ModelTypeFromName(*options.model);
    } else if (ModelTypeFromName(modelOfJson) != 0) {
        model = ModelTypeFromName(modelOfJson);
    } else {
        model = doc.device.DetectDeviceType();
    }
    doc.modelType = model == 0 ? 1 : model;
    doc.ResetToDefaults();
    request.err << "zarnctl " << request.command << ": " << path
                << " is new: it starts from the factory profile of " << target.modelName() << '\n';
    return kExitDone;
}

// The keyboard's current table (and colours), read to be edited.
int openKeyboardForEdit(CliKeyboard& keyboard, bool keys, bool lights, const CliRequest& request) {
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    ConfigDocument& doc = keyboard.document();
    if (keys) {
        if (const int status = readKeysOrSay(keyboard, request); status != kExitDone) {
            return status;
        }
        // Written back, a read that brought nothing would clear every key.
        if (doc.device.receivedKeyCount() == 0) {
            request.err << "The keyboard sent no key (" << keysTally(doc)
                        << "): nothing was written. Edit a profile and write it with write-keys instead.\n";
            return kExitDeviceFailed;
        }
    }
    return lights && HasBacklight(doc.modelType) ? readColoursOrSay(keyboard, request) : kExitDone;
}

// Puts the edited layout where it came from: a profile whole, the keyboard
// the parts that were edited.  A check reads back through a device opened
// afresh, which forgets what was sent: the colours go after the keys' check.
int finishEdit(CliKeyboard& target, const EditOptions& options, const std::string& path, bool keys,
               bool lights, const CliRequest& request) {
    ConfigDocument& doc = target.document();
    if (!options.device) {
        const ProfileResult saved = SaveProfile(doc, path);
        if (!saved) {
            request.err << profileProblem(saved, path, target.modelName()) << '\n';
            return kExitRefused;
        }
        return kExitDone;
    }
    if (!KeyboardAnswers(doc)) {
        return target.failed(request.err, "Nothing was written.");
    }
    if (keys) {
        if (!writeKeys(target, request)) {
            return target.failed(request.err, "Writing the keys failed.");
        }
        request.out << "Keys written to the keyboard.\n";
        if (const int status = options.verify ? verifyKeys(target, request) : kExitDone;
            status != kExitDone) {
            return status;
        }
    }
    if (lights) {
        if (!WriteLightsToDevice(doc)) {
            return target.failed(request.err, "Writing the colours failed.");
        }
        request.out << "Colours written to the keyboard.\n";
        return options.verify ? verifyLights(target, request) : kExitDone;
    }
    return kExitDone;
}

std::optional<std::string> readInput(const std::string& path, std::string& error) {
    std::string text;
    std::istream* in = &std::cin;
    std::ifstream file;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file) {
            error = "The file " + path + " could not be read";
            return std::nullopt;
        }
        in = &file;
    }
    char buffer[65536];
    while (in->read(buffer, sizeof buffer) || in->gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in->gcount()));
        if (text.size() > kLargestJson) {
            error =
                (path == "-" ? std::string("The input") : "The file " + path) + " is too large for a layout";
            return std::nullopt;
        }
    }
    if (in->bad()) {
        error = "The file " + path + " could not be read";
        return std::nullopt;
    }
    return text;
}

int printNotes(const CliRequest& request, const std::vector<std::string>& notes) {
    for (const std::string& note : notes) {
        request.err << "zarnctl " << request.command << ": " << note << '\n';
    }
    return kExitDone;
}

int setFromJson(CliRequest& request, const EditOptions& options) {
    const std::size_t expected = options.device ? 0 : 1;
    if (options.operands.size() != expected) {
        return commandUsage(request, options.device ? "set --device --json FILE takes no other operand"
                                                    : "set PROFILE --json FILE takes one profile");
    }
    if (options.layer || options.assignment.delay || options.assignment.cycles ||
        options.assignment.playMode) {
        return commandUsage(request, "with --json the options come from the file");
    }
    std::string error;
    const auto text = readInput(*options.json, error);
    if (!text) {
        request.err << error << '\n';
        return kExitRefused;
    }
    const JsonParse parsed = ParseJson(*text);
    if (!parsed.value) {
        request.err << "The JSON of " << (*options.json == "-" ? "the input" : *options.json)
                    << " is not valid: " << parsed.error << '\n';
        return kExitRefused;
    }
    CliKeyboard target;
    std::vector<std::string> notes;
    const AssignmentVocabulary words(target.document());
    auto edits = ReadJsonEdits(*parsed.value, words, notes, error);
    if (!edits) {
        request.err << "zarnctl set: " << error << "; nothing was changed\n";
        return kExitUsage;
    }
    const std::string path = options.device ? std::string() : options.operands.front();
    const int opened =
        options.device ? openKeyboardForEdit(target, !edits->keys.empty(), !edits->colours.empty(), request)
                       : openProfileForEdit(target, path, options, edits->model, request);
    if (opened != kExitDone) {
        return opened;
    }
    ConfigDocument& doc = target.document();
    if (!edits->colours.empty() && !HasBacklight(doc.modelType)) {
        request.err << "The " << target.modelName() << " has no backlight: nothing was changed.\n";
        return kExitRefused;
    }
    OrderForStoring(edits->keys);
    for (const SlotEdit& edit : edits->keys) {
        StoreAssignment(doc, edit.key, edit.layer, edit.assignment);
    }
    for (const auto& [key, colour] : edits->colours) {
        doc.keyColours[static_cast<std::size_t>(key)] = colour;
    }
    printNotes(request, notes);
    const int status =
        finishEdit(target, options, path, !edits->keys.empty(), !edits->colours.empty(), request);
    if (status != kExitDone) {
        return status;
    }
    request.out << "Set " << edits->keys.size() << " assignments and " << edits->colours.size() << " colours"
                << (options.device ? "" : " in " + path) << ".\n";
    return kExitDone;
}

} // namespace

int RunSet(CliRequest& request) {
    auto options = editOptions(request, true);
    if (!options) {
        return kExitUsage;
    }
    if (options->device && options->model) {
        return commandUsage(request, "--model is for a profile that does not exist yet, not for --device");
    }
    if (options->json) {
        return setFromJson(request, *options);
    }
    const std::size_t first = options->device ? 0 : 1;
    if (options->operands.size() < first + 2) {
        return commandUsage(request, options->device ? "set --device needs KEY TYPE [VALUE...]"
                                                     : "set needs PROFILE KEY TYPE [VALUE...]");
    }
    CliKeyboard target;
    const AssignmentVocabulary words(target.document());
    const std::string& keyText = options->operands[first];
    const NameMatch key = words.key(keyText);
    if (!key) {
        request.err << "zarnctl set: " << KeyRefusal(keyText, key) << '\n';
        return kExitUsage;
    }
    const std::string& typeText = options->operands[first + 1];
    AssignmentRequest& wanted = options->assignment;
    wanted.type = AssignmentTypeOfName(typeText);
    if (wanted.type < 0) {
        return commandUsage(request,
                            "'" + typeText +
                                "' is not a type: single, combo, macro, emulation, multimedia, mouse, "
                                "function, power or clear");
    }
    wanted.values.assign(options->operands.begin() + static_cast<std::ptrdiff_t>(first + 2),
                         options->operands.end());
    const AssignmentOutcome outcome = BuildAssignment(words, wanted);
    if (!outcome.assignment) {
        request.err << "zarnctl set: " << outcome.error << '\n';
        return kExitUsage;
    }
    const std::string path = options->device ? std::string() : options->operands.front();
    const int opened = options->device ? openKeyboardForEdit(target, true, false, request)
                                       : openProfileForEdit(target, path, *options, {}, request);
    if (opened != kExitDone) {
        return opened;
    }
    printNotes(request, outcome.notes);
    ConfigDocument& doc = target.document();
    const int layer = options->layer.value_or(0);
    StoreAssignment(doc, *key.value, layer, *outcome.assignment);
    const bool bothLayers = outcome.assignment->type == kTypeFunction && outcome.assignment->code == kFnCode;
    for (int shown = 0; shown <= 1; ++shown) {
        if (shown == layer || bothLayers) {
            request.out << KeyHeading(*key.value) << ": "
                        << withoutTrailingSpace(LayerStatusText(doc, *key.value, shown)) << '\n';
        }
    }
    return finishEdit(target, *options, path, true, false, request);
}

int RunColour(CliRequest& request) {
    const auto options = editOptions(request, false);
    if (!options) {
        return kExitUsage;
    }
    if (options->device && options->model) {
        return commandUsage(request, "--model is for a profile that does not exist yet, not for --device");
    }
    const std::size_t first = options->device ? 0 : 1;
    if (options->operands.size() < first + 2) {
        return commandUsage(request, options->device ? "colour --device needs KEY... (or all) and a colour"
                                                     : "colour needs PROFILE, KEY... (or all) and a colour");
    }
    const std::string& colourText = options->operands.back();
    const auto colour = ColourOfText(colourText);
    if (!colour) {
        return commandUsage(request, "'" + colourText + "' is not a colour such as '#FF8000'");
    }
    CliKeyboard target;
    const AssignmentVocabulary words(target.document());
    std::vector<int> keys;
    for (std::size_t i = first; i + 1 < options->operands.size(); ++i) {
        const std::string& text = options->operands[i];
        if (text == "all") {
            for (int key = 1; key <= kKeyCount; ++key) {
                keys.push_back(key);
            }
            continue;
        }
        const NameMatch key = words.key(text);
        if (!key) {
            request.err << "zarnctl colour: " << KeyRefusal(text, key) << '\n';
            return kExitUsage;
        }
        keys.push_back(*key.value);
    }
    const std::string path = options->device ? std::string() : options->operands.front();
    const int opened = options->device ? openKeyboardForEdit(target, false, true, request)
                                       : openProfileForEdit(target, path, *options, {}, request);
    if (opened != kExitDone) {
        return opened;
    }
    ConfigDocument& doc = target.document();
    if (!HasBacklight(doc.modelType)) {
        request.err << "The " << target.modelName() << " has no backlight: no colours were set.\n";
        return kExitRefused;
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const int key : keys) {
        doc.keyColours[static_cast<std::size_t>(key)] = *colour;
    }
    if (keys.size() == static_cast<std::size_t>(kKeyCount)) {
        request.out << "All " << kKeyCount << " keys: " << ColourText(doc, 1) << '\n';
    } else {
        for (const int key : keys) {
            request.out << KeyHeading(key) << ": " << ColourText(doc, key) << '\n';
        }
    }
    return finishEdit(target, *options, path, false, true, request);
}

namespace {

// When the two status texts of a slot read alike, what tells them apart.
std::string settingsOf(const ConfigDocument& doc, int key, int layer) {
    const auto slot = static_cast<std::size_t>(2 * key + layer);
    const RecordList& list = doc.keyLists[slot];
    switch (doc.keyMode[slot]) {
    case kTypeMacro:
        return " [" + std::to_string(list.count()) + " lines, cycles " + std::to_string(list.cycles) +
               ", play mode " + std::to_string(list.playMode) +
               (list.isAutoInterval ? ", delay " + std::to_string(list.delay) + " ms" : ", recorded delays") +
               "]";
    case kTypeEmulation:
        return " [delay " + std::to_string(list.delay) + " ms]";
    case kTypeCombo:
    case kTypeNotSet:
        return {};
    default:
        return " [code " + std::to_string(doc.keyCode[slot]) + "]";
    }
}

void printDiffText(const ConfigDocument& a, const std::string& aName, const ConfigDocument& b,
                   const std::string& bName, const std::vector<LayoutDifference>& differences,
                   std::ostream& out) {
    out << "--- " << aName << " (" << ModelName(a.modelType) << ")\n"
        << "+++ " << bName << " (" << ModelName(b.modelType) << ")\n";
    int heading = 0;
    for (const LayoutDifference& difference : differences) {
        if (difference.key != heading) {
            heading = difference.key;
            out << KeyHeading(heading) << '\n';
        }
        if (difference.colour) {
            out << "- Colour: " << ColourText(a, heading) << "\n+ Colour: " << ColourText(b, heading) << '\n';
            continue;
        }
        std::string before = withoutTrailingSpace(LayerStatusText(a, heading, difference.layer));
        std::string after = withoutTrailingSpace(LayerStatusText(b, heading, difference.layer));
        if (before == after) {
            before += settingsOf(a, heading, difference.layer);
            after += settingsOf(b, heading, difference.layer);
        }
        out << "- " << before << "\n+ " << after << '\n';
    }
}

} // namespace

int RunDiff(CliRequest& request) {
    bool json = false;
    const auto parsed = switchesAndOperands(request, {{"--json", &json}});
    if (!parsed) {
        return kExitUsage;
    }
    const std::vector<std::string>& operands = *parsed;
    if (operands.empty() || operands.size() > 2) {
        return commandUsage(request, operands.empty() ? "diff needs a profile (or two)"
                                                      : "unexpected argument '" + operands[2] + "'");
    }
    CliKeyboard first;
    CliKeyboard second;
    std::string secondName;
    if (operands.size() == 2) {
        for (auto [side, path] : {std::pair(&first, operands[0]), std::pair(&second, operands[1])}) {
            if (const int status = loadAnyProfile(*side, path, request.err); status != kExitDone) {
                return status;
            }
        }
        secondName = operands[1];
    } else {
        // The profile is opened for the keyboard's model before the keyboard
        // is read, so a wrong file costs no transfer.
        if (const int status = loadProfileFor(first, operands[0], request.err); status != kExitDone) {
            return status;
        }
        ConfigDocument& keyboard = second.document();
        keyboard.modelType = first.document().modelType;
        keyboard.ResetToDefaults();
        if (!second.connect(request.err)) {
            return kExitNoKeyboard;
        }
        // A keyboard that cannot be read is not one that differs.
        if (readKeysOrSay(second, request, true) != kExitDone ||
            (HasBacklight(keyboard.modelType) && readColoursOrSay(second, request) != kExitDone)) {
            return kExitNoKeyboard;
        }
        secondName = "keyboard";
    }
    const ConfigDocument& a = first.document();
    const ConfigDocument& b = second.document();
    const bool colours = HasBacklight(a.modelType) || HasBacklight(b.modelType);
    const std::vector<LayoutDifference> differences = CompareLayouts(a, b, colours);
    const bool equal = differences.empty() && a.modelType == b.modelType;
    if (json) {
        PrintDiffJson(a, operands[0], b, secondName, differences, request.out);
    } else if (!equal) {
        printDiffText(a, operands[0], b, secondName, differences, request.out);
    }
    return equal ? kExitDone : kExitDifferent;
}
