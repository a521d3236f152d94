#include "tools/zarnctl/CliCommands.h"

#include "model/Catalogue.h"
#include "model/FirmwareFile.h"
#include "model/LayoutBackup.h"
#include "tools/zarnctl/CliKeyboard.h"
#include "tools/zarnctl/CliSupport.h"
#include "tools/zarnctl/ExitStatus.h"
#include "tools/zarnctl/ProgressBar.h"

#include <filesystem>

namespace {

// A firmware download posts 1..150.
constexpr int kFirmwareSteps = 150;
// A keyboard restarts after an update; one that needs to be plugged in
// again gets this long.
constexpr auto kRestartWait = std::chrono::seconds(60);

struct FlashOptions {
    bool force = false;
    bool restore = true;
    std::string path;
};

std::optional<FlashOptions> flashOptions(const CliRequest& request) {
    FlashOptions options;
    bool noRestore = false;
    const auto operands =
        switchesAndOperands(request, {{"--force", &options.force}, {"--no-restore", &noRestore}});
    if (!operands) {
        return std::nullopt;
    }
    const auto path = singleOperand(request, *operands, "FIRMWARE");
    if (!path) {
        return std::nullopt;
    }
    options.restore = !noRestore;
    options.path = *path;
    return options;
}

bool download(CliKeyboard& keyboard, const std::string& text, const CliRequest& request) {
    ProgressBar bar(request.err, request.errIsTerminal, "Downloading firmware", 1, kFirmwareSteps);
    // c_str() carries the zero byte the download looks for at the end.
    const bool downloaded =
        keyboard.document().device.WriteFirmwareToKeyboard(text.c_str(), text.size(), bar.window());
    bar.finish(downloaded);
    return downloaded;
}

std::string restoreHint(const std::string& backup) {
    return "zarnctl write-keys " + backup + " writes it back";
}

int restoreLayout(CliKeyboard& keyboard, const std::string& backup, const CliRequest& request) {
    ConfigDocument& doc = keyboard.document();
    if (!WaitForKeyboard(doc.device, std::chrono::milliseconds(0))) {
        request.err
            << "Waiting for the keyboard to restart (when its three indicator lights flash, unplug it "
               "and plug it in again)...\n";
        if (!WaitForKeyboard(doc.device, kRestartWait)) {
            request.err << "The keyboard did not come back: the layout was not written back. It is kept in "
                        << backup << "; " << restoreHint(backup)
                        << (HasBacklight(doc.modelType) ? " (and write-lights its colours)" : "") << ".\n";
            return kExitDeviceFailed;
        }
    }
    std::string problem;
    {
        ProgressBar bar(request.err, request.errIsTerminal, "Writing the layout back", 0, 2 * kKeyCount);
        problem = RestoreLayout(doc, backup, bar.window());
        bar.finish(problem.empty());
    }
    if (!problem.empty()) {
        request.err << "The layout could not be written back: " << problem << ". It is kept in " << backup
                    << "; " << restoreHint(backup) << ".\n";
        return kExitDeviceFailed;
    }
    request.out << "The layout of before the update is written back and checked.\n";
    return kExitDone;
}

} // namespace

int RunFlash(CliRequest& request) {
    const auto options = flashOptions(request);
    if (!options) {
        return kExitUsage;
    }
    CliKeyboard keyboard;
    if (!keyboard.detect(request.err)) {
        return kExitNoKeyboard;
    }
    const int modelType = keyboard.document().modelType;
    // The name decides, exactly and case-sensitively; the extension plays no part.
    const std::string name = std::filesystem::path(options->path).filename().string();
    if (!name.starts_with(FirmwarePrefix(modelType)) && !options->force) {
        request.err << "The firmware does not match,please select " << ModelName(modelType) << '\n';
        return kExitRefused;
    }
    const FirmwareFile firmware = ReadFirmwareFile(options->path);
    if (!firmware) {
        request.err << "Can't open firmware file (" << options->path << ": " << FirmwareFileProblem(firmware)
                    << ")\n";
        return kExitRefused;
    }
    if (firmware.text.empty()) {
        request.err << "Firmware download failed.\n";
        return kExitRefused;
    }
    if (!keyboard.connect(request.err)) {
        return kExitNoKeyboard;
    }

    LayoutBackup backup;
    {
        ProgressBar bar(request.err, request.errIsTerminal, "Backing up the layout");
        backup = BackUpLayout(keyboard.document(), LayoutBackupFolder(), bar.window());
        bar.finish(static_cast<bool>(backup));
    }
    if (backup) {
        request.out << "The layout is backed up in " << backup.path << ".\n";
    } else if (!options->force) {
        return keyboard.failed(request.err, ("The layout could not be backed up: " + backup.problem +
                                             ". Nothing was downloaded (--force downloads all the same).")
                                                .c_str());
    } else {
        request.err << "The layout could not be backed up: " << backup.problem
                    << ". Downloading all the same (--force).\n";
    }

    if (!download(keyboard, firmware.text, request)) {
        return keyboard.failed(request.err, "Firmware download failed.");
    }
    request.out << "The Firmware is downloaded successfully.\n"
                   "Please keep the USB plug in until three indicator lights flash simultaneously.\n"
                   "Then firmware updated completely,pleased unplug the USB and plug in.\n";
    if (!backup) {
        return kExitDone;
    }
    if (!options->restore) {
        request.out << "The layout is kept in " << backup.path << "; " << restoreHint(backup.path) << ".\n";
        return kExitDone;
    }
    return restoreLayout(keyboard, backup.path, request);
}
