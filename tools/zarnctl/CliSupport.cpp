#include "tools/zarnctl/CliSupport.h"

#include "model/Catalogue.h"
#include "model/DeviceBridge.h"
#include "model/ProfileFile.h"
#include "model/WriteVerification.h"
#include "tools/zarnctl/ExitStatus.h"
#include "tools/zarnctl/ProgressBar.h"

#include <algorithm>

namespace {

// A key table transfer posts one message per slot: 0..205.
constexpr int kKeySlotSteps = 2 * kKeyCount;

std::string describeKeys(const std::vector<KeyOnLayer>& keys) {
    std::string text;
    for (const KeyOnLayer& key : keys) {
        text += (text.empty() ? "" : ", ") + std::string(KeyLabel(key.key)) + " (key " +
                std::to_string(key.key) + (key.layer == 0 ? ", top layer)" : ", Fn layer)");
    }
    return text;
}

} // namespace

// A keyboard that answers with its end marker alone has said nothing,
// however well it ended: every command tells what a read brought.
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

std::optional<std::string> singleOperand(const CliRequest& request, const std::vector<std::string>& operands,
                                         const char* what) {
    if (operands.size() == 1) {
        return operands.front();
    }
    commandUsage(request, operands.empty() ? std::string("missing ") + what
                                           : "unexpected argument '" + operands[1] + "'");
    return std::nullopt;
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
bool readKeys(CliKeyboard& keyboard, const CliRequest& request, bool transient) {
    ProgressBar bar(request.err, request.errIsTerminal, "Reading keys");
    bar.setTransient(transient);
    ConfigDocument& doc = keyboard.document();
    doc.progressWindow = bar.window();
    const bool read = ReadKeysFromDevice(doc, bar.window());
    doc.progressWindow = WindowHandle();
    bar.finish(read);
    return read;
}

int readKeysOrSay(CliKeyboard& keyboard, const CliRequest& request, bool transient) {
    if (!readKeys(keyboard, request, transient)) {
        return keyboard.failed(request.err,
                               "Reading the keys failed (" + keysTally(keyboard.document()) + ").");
    }
    return kExitDone;
}

int readColoursOrSay(CliKeyboard& keyboard, const CliRequest& request) {
    ConfigDocument& doc = keyboard.document();
    if (!ReadLightsFromDevice(doc) || !coloursComplete(doc)) {
        return keyboard.failed(request.err, "Reading the colours failed (" + coloursTally(doc) + ").");
    }
    return kExitDone;
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

std::optional<std::vector<std::string>> switchesAndOperands(const CliRequest& request,
                                                            std::initializer_list<CommandSwitch> switches) {
    std::vector<std::string> operands;
    for (const std::string& arg : request.args) {
        if (!arg.starts_with("--")) {
            operands.push_back(arg);
            continue;
        }
        const auto known = std::find_if(switches.begin(), switches.end(),
                                        [&](const CommandSwitch& option) { return arg == option.name; });
        if (known == switches.end()) {
            commandUsage(request, "unknown option '" + arg + "'");
            return std::nullopt;
        }
        *known->set = true;
    }
    return operands;
}

std::optional<WriteOptions> writeOptions(const CliRequest& request) {
    WriteOptions options;
    auto operands = switchesAndOperands(request, {{"--verify", &options.verify}});
    if (!operands) {
        return std::nullopt;
    }
    options.operands = std::move(*operands);
    return options;
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

int loadAnyProfile(CliKeyboard& keyboard, const std::string& path, std::ostream& err) {
    const ProfileResult loaded = LoadProfileOfItsModel(keyboard.document(), path);
    if (loaded) {
        return kExitDone;
    }
    if (loaded.error == ProfileError::WrongModel) {
        err << "The file " << path << " is not a profile of ZarnRGB.BT, ZarnBT, Zarn or ZarnRGB ("
            << loaded.detail << ")\n";
    } else {
        err << profileProblem(loaded, path, keyboard.modelName()) << '\n';
    }
    return kExitRefused;
}
