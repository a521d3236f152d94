#include "tools/zarnctl/CliCommands.h"

#include "model/Catalogue.h"
#include "model/DeviceBridge.h"
#include "model/FirmwareFile.h"
#include "model/ProfileFile.h"
#include "model/WriteVerification.h"
#include "tools/zarnctl/CliJson.h"
#include "tools/zarnctl/CliKeyboard.h"
#include "tools/zarnctl/CliSupport.h"
#include "tools/zarnctl/ExitStatus.h"
#include "tools/zarnctl/ProgressBar.h"

#include <filesystem>
#include <functional>
#include <iomanip>
#include <optional>
#include <sstream>

namespace {

int expectNoArguments(const CliRequest& request) {
    if (!request.args.empty()) {
        return commandUsage(request, "unexpected argument '" + request.args.front() + "'");
    }
    return kExitDone;
}

std::string utf8(const wchar_t* text, std::size_t length) {
    std::string result;
    for (std::size_t i = 0; i < length && text[i] != L'\0'; ++i) {
        auto c = static_cast<std::uint32_t>(text[i]);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xC0 | c >> 6);
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            result += static_cast<char>(0xE0 | c >> 12);
            result += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | c >> 18);
            result += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            result += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return result;
}

std::string keyLabel(int key) {
    return key > 0 ? KeyLabel(key) : "";
}

void printCountersText(const ConfigDocument& doc, std::ostream& out) {
    for (int key = 1; key <= kKeyCount; ++key) {
        out << std::setw(3) << key << "  " << std::left << std::setw(11) << KeyLabel(key) << std::right
            << doc.keyCounters[static_cast<std::size_t>(key)] << '\n';
    }
    const auto describe = [&](int key) {
        if (key < 1) {
            return std::string("none");
        }
        return keyLabel(key) + " (key " + std::to_string(key) + ", " +
               std::to_string(doc.keyCounters[static_cast<std::size_t>(key)]) + " presses)";
    };
    out << "Most used key: " << describe(doc.highestKey) << '\n';
    out << "Least used key: " << describe(doc.lowestKey) << '\n';
}

// Every argument of the command must be --json; true when one was given.
std::optional<bool> jsonOption(const CliRequest& request) {
    bool json = false;
    for (const std::string& arg : request.args) {
        if (arg != "--json") {
            commandUsage(request, "unexpected argument '" + arg + "'");
            return std::nullopt;
        }
        json = true;
    }
    return json;
}

} // namespace

int RunList(CliRequest& request) {
    const auto json = jsonOption(request);
    if (!json) {
        return kExitUsage;
    }
    const std::vector<KeyboardListing> keyboards = ListKeyboards();
    if (keyboards.empty()) {
        request.err << kNotConnectedMessage << '\n';
        return kExitNoKeyboard;
    }
    if (*json) {
        PrintListJson(keyboards, request.out);
        return kExitDone;
    }
    for (const KeyboardListing& keyboard : keyboards) {
        request.out << ModelName(keyboard.modelType) << '\t' << keyboard.modelType << '\t'
                    << keyboard.device.path << '\n';
    }
    return kExitDone;
}

int RunVersion(CliRequest& request) {
    if (const int status = expectNoArguments(request); status != kExitDone) {
        return status;
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    // The keyboard sends 62 characters without a terminator of its own.
    wchar_t text[kVersionTextLength] = {};
    if (!keyboard.document().device.ReadKeyboardVersion(text)) {
        return keyboard.failed(request.err, "Failed on reading keyboard version infomation");
    }
    request.out << utf8(text, kVersionTextLength - 2) << '\n';
    return kExitDone;
}

int RunCounters(CliRequest& request) {
    const auto json = jsonOption(request);
    if (!json) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    ConfigDocument& doc = keyboard.document();
    if (!ReadCountersFromDevice(doc)) {
        return keyboard.failed(request.err, "Reading the counters failed (" + countersTally(doc) + ").");
    }
    if (!countersComplete(doc)) {
        request.err << "Reading the counters failed (" << countersTally(doc) << ").\n";
        return kExitDeviceFailed;
    }
    if (*json) {
        PrintCountersJson(doc, request.out);
    } else {
        printCountersText(doc, request.out);
    }
    return kExitDone;
}

int RunShow(CliRequest& request) {
    std::optional<int> layer;
    bool json = false;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < request.args.size(); ++i) {
        std::string value;
        if (request.args[i] == "--json") {
            json = true;
            continue;
        }
        if (request.args[i] == "--layer" && i + 1 < request.args.size()) {
            value = request.args[++i];
        } else if (request.args[i].starts_with("--layer=")) {
            value = request.args[i].substr(8);
        } else if (request.args[i] == "--layer") {
            return commandUsage(request, "--layer needs 0 or 1");
        } else if (!request.args[i].starts_with("--") && operands.empty()) {
            operands.push_back(request.args[i]);
            continue;
        } else {
            return commandUsage(request, "unexpected argument '" + request.args[i] + "'");
        }
        if (value != "0" && value != "1") {
            return commandUsage(request, "--layer needs 0 or 1, not '" + value + "'");
        }
        layer = value == "1" ? 1 : 0;
    }
    CliKeyboard keyboard;
    ConfigDocument& doc = keyboard.document();
    // Without a profile the keyboard is read; the colours too where there
    // are any, so that the JSON holds all that set and colour take.
    if (!operands.empty()) {
        if (const int status = loadAnyProfile(keyboard, operands.front(), request.err); status != kExitDone) {
            return status;
        }
    } else {
        if (!keyboard.open(request.err)) {
            return kExitNoKeyboard;
        }
        if (const int status = readKeysOrSay(keyboard, request); status != kExitDone) {
            return status;
        }
        request.err << "zarnctl show: " << keysTally(doc) << '\n';
        if (json && HasBacklight(doc.modelType)) {
            if (const int status = readColoursOrSay(keyboard, request); status != kExitDone) {
                return status;
            }
        }
    }
    if (json) {
        PrintShowJson(doc, layer, HasBacklight(doc.modelType), request.out);
        return kExitDone;
    }
    const int shown = layer.value_or(0);
    request.out << (shown == 0 ? "Top layer" : "Fn layer") << " of " << keyboard.modelName() << '\n';
    for (int key = 1; key <= kKeyCount; ++key) {
        const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + shown)];
        std::ostringstream line;
        line << std::setw(3) << key << "  " << std::left << std::setw(11) << KeyLabel(key) << std::setw(11)
             << doc.TypeName(mode) << doc.DescribeAssignment(key, shown);
        std::string text = line.str();
        text.erase(text.find_last_not_of(' ') + 1);
        request.out << text << '\n';
    }
    return kExitDone;
}

int RunReset(CliRequest& request) {
    const auto options = writeOptions(request);
    if (!options) {
        return kExitUsage;
    }
    if (!options->operands.empty()) {
        return commandUsage(request, "unexpected argument '" + options->operands.front() + "'");
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    if (!KeyboardAnswers(keyboard.document())) {
        return keyboard.failed(request.err, "Nothing was written.");
    }
    if (!writeKeys(keyboard, request)) {
        return keyboard.failed(request.err, "Writing the keys failed.");
    }
    request.out << "Factory assignment of " << keyboard.modelName() << " written.\n";
    return options->verify ? verifyKeys(keyboard, request) : kExitDone;
}

int RunReadKeys(CliRequest& request) {
    bool force = false;
    const auto operands = switchesAndOperands(request, {{"--force", &force}});
    if (!operands) {
        return kExitUsage;
    }
    const auto path = singleOperand(request, *operands, "PROFILE");
    if (!path) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    ConfigDocument& doc = keyboard.document();
    if (const int status = readKeysOrSay(keyboard, request); status != kExitDone) {
        return status;
    }
    if (const int status = readColoursOrSay(keyboard, request); status != kExitDone) {
        return status;
    }
    request.err << "zarnctl read-keys: " << keysTally(doc) << ", " << coloursTally(doc).substr(5) << '\n';
    // A keyboard that sent no key at all would turn a profile into a table
    // of unset keys: only on request.
    std::error_code ignored;
    if (doc.device.receivedKeyCount() == 0 && !force && std::filesystem::exists(*path, ignored)) {
        request.err << "zarnctl read-keys: the keyboard sent no key; " << *path
                    << " is left as it was (--force overwrites it)\n";
        return kExitDeviceFailed;
    }
    const ProfileResult saved = SaveProfile(doc, *path);
    if (!saved) {
        request.err << profileProblem(saved, *path, keyboard.modelName()) << '\n';
        return kExitRefused;
    }
    request.out << "Keys and colours of " << keyboard.modelName() << " saved to " << *path << ".\n";
    return kExitDone;
}

// One part of a profile and how it travels.
struct ProfilePart {
    const char* name;    // "Keys"
    const char* failure; // "Writing the keys failed."
    bool (*send)(CliKeyboard&, const CliRequest&);
    int (*verify)(CliKeyboard&, const CliRequest&);
    bool lights; // only a model with a backlight takes it
};

// Opens a profile of the detected model and sends one part of it.
int writeProfilePart(CliRequest& request, const ProfilePart& part) {
    const auto options = writeOptions(request);
    if (!options) {
        return kExitUsage;
    }
    const auto path = singleOperand(request, options->operands, "PROFILE");
    if (!path) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (const int status = loadProfileFor(keyboard, *path, request.err); status != kExitDone) {
        return status;
    }
    if (part.lights && !HasBacklight(keyboard.document().modelType)) {
        request.err << "The " << keyboard.modelName() << " has no backlight: no colours were written.\n";
        return kExitRefused;
    }
    if (!keyboard.connect(request.err)) {
        return kExitNoKeyboard;
    }
    if (!KeyboardAnswers(keyboard.document())) {
        return keyboard.failed(request.err, "Nothing was written.");
    }
    if (!part.send(keyboard, request)) {
        return keyboard.failed(request.err, part.failure);
    }
    request.out << part.name << " of " << *path << " written.\n";
    return options->verify ? part.verify(keyboard, request) : kExitDone;
}

int RunWriteKeys(CliRequest& request) {
    return writeProfilePart(request, {"Keys", "Writing the keys failed.", writeKeys, verifyKeys, false});
}

int RunWriteLights(CliRequest& request) {
    return writeProfilePart(request, {"Colours", "Writing the colours failed.",
                                      [](CliKeyboard& keyboard, const CliRequest&) {
                                          return WriteLightsToDevice(keyboard.document());
                                      },
                                      verifyLights, true});
}

int RunDefaults(CliRequest& request) {
    const auto path = singleOperand(request, request.args, "PROFILE");
    if (!path) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.detect(request.err)) {
        return kExitNoKeyboard;
    }
    const ProfileResult saved = SaveProfile(keyboard.document(), *path);
    if (!saved) {
        request.err << profileProblem(saved, *path, keyboard.modelName()) << '\n';
        return kExitRefused;
    }
    request.out << "Factory profile of " << keyboard.modelName() << " saved to " << *path << ".\n";
    return kExitDone;
}
