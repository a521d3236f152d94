#include "tools/zarnctl/CliCommands.h"

#include "model/Catalogue.h"
#include "model/DeviceBridge.h"
#include "model/FirmwareFile.h"
#include "model/ProfileFile.h"
#include "model/WriteVerification.h"
#include "tools/zarnctl/CliJson.h"
#include "tools/zarnctl/CliKeyboard.h"
#include "tools/zarnctl/ExitStatus.h"
#include "tools/zarnctl/ProgressBar.h"

#include <filesystem>
#include <functional>
#include <iomanip>
#include <optional>
#include <sstream>

namespace {

// A key table transfer posts one message per slot: 0..205.
constexpr int kKeySlotSteps = 2 * kKeyCount;
// A firmware download posts 1..150.
constexpr int kFirmwareSteps = 150;

// What a read brought, told the same way by every command: a keyboard that
// answers with its end marker alone has said nothing, however well it ended.
std::string keysTally(const ConfigDocument& doc) {
    return "read " + std::to_string(doc.device.receivedKeyCount()) + " of " + std::to_string(kKeySlotSteps) +
           " keys";
}

std::string coloursTally(const ConfigDocument& doc) {
    return "read " + std::to_string(doc.device.receivedLightBytes() / 3) + " of " +
           std::to_string(kKeyCount) + " colours";
}

std::string countersTally(const ConfigDocument& doc) {
    return "read " + std::to_string(doc.device.receivedCounterBytes() / 4) + " of " +
           std::to_string(kKeyCount) + " counters";
}

// The light and counter areas always come whole from a keyboard that is
// well; the rest of a short one would be what the mirror held before.
bool coloursComplete(const ConfigDocument& doc) {
    return doc.device.receivedLightBytes() >= kLightArrayLength;
}

bool countersComplete(const ConfigDocument& doc) {
    return doc.device.receivedCounterBytes() >= 4 * kCounterArrayLength;
}

int commandUsage(const CliRequest& request, const std::string& message) {
    request.err << "zarnctl " << request.command << ": " << message << "\nTry 'zarnctl " << request.command
                << " --help'.\n";
    return kExitUsage;
}

int expectNoArguments(const CliRequest& request) {
    if (!request.args.empty()) {
        return commandUsage(request, "unexpected argument '" + request.args.front() + "'");
    }
    return kExitDone;
}

// The one operand of a profile or firmware command; options are the caller's.
std::optional<std::string> singleOperand(const CliRequest& request, const std::vector<std::string>& operands,
                                         const char* what) {
    if (operands.size() == 1) {
        return operands.front();
    }
    commandUsage(request, operands.empty() ? std::string("missing ") + what
                                           : "unexpected argument '" + operands[1] + "'");
    return std::nullopt;
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

std::string profileProblem(const ProfileResult& result, const std::string& path, const char* model) {
    std::string message;
    switch (result.error) {
    case ProfileError::CannotWrite:
        message = "The profile " + path + " could not be written";
        break;
    case ProfileError::CannotRead:
        message = "The profile " + path + " could not be read";
        break;
    case ProfileError::NotWellFormed:
        message = "The file " + path + " is not a profile";
        break;
    case ProfileError::WrongModel:
        message = "The profile " + path + " does not belong to " + std::string(model);
        break;
    case ProfileError::BadValue:
        message = "The profile " + path + " holds a value the keyboard cannot take";
        break;
    case ProfileError::None:
        break;
    }
    if (!result.detail.empty()) {
        message += ": " + result.detail;
    }
    return message;
}

// A read posts one message per entry the keyboard sends, and a keyboard
// sends only the slots it holds: the bar counts them.
bool readKeys(CliKeyboard& keyboard, const CliRequest& request) {
    ProgressBar bar(request.err, request.errIsTerminal, "Reading keys");
    ConfigDocument& doc = keyboard.document();
    doc.progressWindow = bar.window();
    const bool read = ReadKeysFromDevice(doc, bar.window());
    doc.progressWindow = WindowHandle();
    bar.finish(read);
    return read;
}

bool writeKeys(CliKeyboard& keyboard, const CliRequest& request) {
    ProgressBar bar(request.err, request.errIsTerminal, "Writing keys", 0, kKeySlotSteps);
    ConfigDocument& doc = keyboard.document();
    doc.progressWindow = bar.window();
    const bool written = WriteKeysToDevice(doc, bar.window());
    doc.progressWindow = WindowHandle();
    bar.finish(written);
    return written;
}

// The options of a write command: --verify and one operand where it takes one.
struct WriteOptions {
    bool verify = false;
    std::vector<std::string> operands;
};

std::optional<WriteOptions> writeOptions(const CliRequest& request) {
    WriteOptions options;
    for (const std::string& arg : request.args) {
        if (arg == "--verify") {
            options.verify = true;
        } else if (arg.starts_with("--")) {
            commandUsage(request, "unknown option '" + arg + "'");
            return std::nullopt;
        } else {
            options.operands.push_back(arg);
        }
    }
    return options;
}

std::string describeKeys(const std::vector<KeyOnLayer>& keys) {
    std::string text;
    for (const KeyOnLayer& key : keys) {
        text += (text.empty() ? "" : ", ") + std::string(KeyLabel(key.key)) + " (key " +
                std::to_string(key.key) + (key.layer == 0 ? ", top layer)" : ", Fn layer)");
    }
    return text;
}

// Reads the keys back through a device object of its own and names those
// that differ from what was written.
int verifyKeys(CliKeyboard& keyboard, const CliRequest& request) {
    std::optional<std::vector<KeyOnLayer>> differing;
    {
        ProgressBar bar(request.err, request.errIsTerminal, "Verifying keys");
        differing = KeysThatDiffer(keyboard.document().device, bar.window());
        bar.finish(differing.has_value());
    }
    if (!differing) {
        return keyboard.failed(request.err, "Verifying the keys failed: they could not be read back.");
    }
    if (!differing->empty()) {
        request.err << "Verification failed: " << differing->size() << " of " << 2 * kKeyCount
                    << " keys differ from what was written: " << describeKeys(*differing) << ".\n";
        return kExitDeviceFailed;
    }
    request.out << "Verified: the keyboard holds every key as written.\n";
    return kExitDone;
}

int verifyLights(CliKeyboard& keyboard, const CliRequest& request) {
    const auto differing = LightsThatDiffer(keyboard.document().device);
    if (!differing) {
        return keyboard.failed(request.err, "Verifying the colours failed: they could not be read back.");
    }
    if (!differing->empty()) {
        std::string keys;
        for (const int key : *differing) {
            keys += (keys.empty() ? "" : ", ") + std::string(KeyLabel(key)) + " (key " + std::to_string(key) +
                    ")";
        }
        request.err << "Verification failed: " << differing->size() << " of " << kKeyCount
                    << " colours differ from what was written: " << keys << ".\n";
        return kExitDeviceFailed;
    }
    request.out << "Verified: the keyboard holds every colour as written.\n";
    return kExitDone;
}

// Detects the keyboard and opens the profile for its model.
int loadProfileFor(CliKeyboard& keyboard, const std::string& path, std::ostream& err) {
    if (!keyboard.detect(err)) {
        return kExitNoKeyboard;
    }
    const ProfileResult loaded = LoadProfile(keyboard.document(), path);
    if (!loaded) {
        err << profileProblem(loaded, path, keyboard.modelName()) << '\n';
        return kExitRefused;
    }
    return kExitDone;
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
        return keyboard.failed(request.err,
                               ("Reading the counters failed (" + countersTally(doc) + ").").c_str());
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
    int layer = 0;
    bool json = false;
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
        } else {
            return commandUsage(request, "unexpected argument '" + request.args[i] + "'");
        }
        if (value != "0" && value != "1") {
            return commandUsage(request, "--layer needs 0 or 1, not '" + value + "'");
        }
        layer = value == "1" ? 1 : 0;
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    const ConfigDocument& doc = keyboard.document();
    if (!readKeys(keyboard, request)) {
        return keyboard.failed(request.err, ("Reading the keys failed (" + keysTally(doc) + ").").c_str());
    }
    request.err << "zarnctl show: " << keysTally(doc) << '\n';
    if (json) {
        PrintShowJson(doc, layer, request.out);
        return kExitDone;
    }
    request.out << (layer == 0 ? "Top layer" : "Fn layer") << " of " << keyboard.modelName() << '\n';
    for (int key = 1; key <= kKeyCount; ++key) {
        const int mode = doc.keyMode[static_cast<std::size_t>(2 * key + layer)];
        std::ostringstream line;
        line << std::setw(3) << key << "  " << std::left << std::setw(11) << KeyLabel(key) << std::setw(11)
             << doc.TypeName(mode) << doc.DescribeAssignment(key, layer);
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
    std::vector<std::string> operands;
    for (const std::string& arg : request.args) {
        if (arg == "--force") {
            force = true;
        } else if (arg.starts_with("--")) {
            return commandUsage(request, "unknown option '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }
    const auto path = singleOperand(request, operands, "PROFILE");
    if (!path) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.open(request.err)) {
        return kExitNoKeyboard;
    }
    ConfigDocument& doc = keyboard.document();
    if (!readKeys(keyboard, request)) {
        return keyboard.failed(request.err, ("Reading the keys failed (" + keysTally(doc) + ").").c_str());
    }
    if (!ReadLightsFromDevice(doc)) {
        return keyboard.failed(request.err,
                               ("Reading the colours failed (" + coloursTally(doc) + ").").c_str());
    }
    if (!coloursComplete(doc)) {
        request.err << "Reading the colours failed (" << coloursTally(doc) << ").\n";
        return kExitDeviceFailed;
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

int RunFlash(CliRequest& request) {
    bool force = false;
    std::vector<std::string> operands;
    for (const std::string& arg : request.args) {
        if (arg == "--force") {
            force = true;
        } else if (arg.starts_with("--")) {
            return commandUsage(request, "unknown option '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }
    const auto path = singleOperand(request, operands, "FIRMWARE");
    if (!path) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.detect(request.err)) {
        return kExitNoKeyboard;
    }
    const int modelType = keyboard.document().modelType;
    // The name decides, exactly and case-sensitively; the extension plays no part.
    const std::string name = std::filesystem::path(*path).filename().string();
    if (!name.starts_with(FirmwarePrefix(modelType)) && !force) {
        request.err << "The firmware does not match,please select " << ModelName(modelType) << '\n';
        return kExitRefused;
    }
    const FirmwareFile firmware = ReadFirmwareFile(*path);
    if (!firmware) {
        request.err << "Can't open firmware file (" << *path << ": " << FirmwareFileProblem(firmware)
                    << ")\n";
        return kExitRefused;
    }
    const std::string& text = firmware.text;
    if (text.empty()) {
        request.err << "Firmware download failed.\n";
        return kExitRefused;
    }
    if (!keyboard.connect(request.err)) {
        return kExitNoKeyboard;
    }
    bool downloaded = false;
    {
        ProgressBar bar(request.err, request.errIsTerminal, "Downloading firmware", 1, kFirmwareSteps);
        // c_str() carries the zero byte the download looks for at the end.
        downloaded =
            keyboard.document().device.WriteFirmwareToKeyboard(text.c_str(), text.size(), bar.window());
        bar.finish(downloaded);
    }
    if (!downloaded) {
        return keyboard.failed(request.err, "Firmware download failed.");
    }
    request.out << "The Firmware is downloaded successfully.\n"
                   "Please keep the USB plug in until three indicator lights flash simultaneously.\n"
                   "Then firmware updated completely,pleased unplug the USB and plug in.\n";
    return kExitDone;
}
