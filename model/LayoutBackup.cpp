#include "model/LayoutBackup.h"

#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"
#include "model/ProfileFile.h"
#include "model/WriteVerification.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBackupInfix = "-backup-";
constexpr std::string_view kProfileExtension = ".pro";
constexpr std::size_t kStampLength = 15; // YYYYMMDD-HHMMSS
constexpr auto kRetryPause = std::chrono::milliseconds(250);

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What orders the backups in a folder: the time in the name, then the
// number that tells backups of the same second apart.
struct BackupName {
    std::string stamp;
    int sequence = 1;
    fs::path path;
};

// Only names this module gives are ever removed: MODEL-backup-STAMP[-N].pro.
std::optional<BackupName> parseBackupName(const fs::path& path) {
    const std::string name = path.filename().string();
    if (!name.ends_with(kProfileExtension)) {
        return std::nullopt;
    }
    for (const int model : {1, 2, 3, 4}) {
        const std::string prefix = std::string(ModelName(model)) + std::string(kBackupInfix);
        if (!name.starts_with(prefix)) {
            continue;
        }
        std::string_view rest(name);
        rest.remove_prefix(prefix.size());
        rest.remove_suffix(kProfileExtension.size());
        if (rest.size() < kStampLength || rest[8] != '-' || !allDigits(rest.substr(0, 8)) ||
            !allDigits(rest.substr(9, 6))) {
            continue;
        }
        BackupName backup{std::string(rest.substr(0, kStampLength)), 1, path};
        rest.remove_prefix(kStampLength);
        if (!rest.empty()) {
            if (rest.front() != '-' || !allDigits(rest.substr(1)) || rest.size() > 6) {
                continue;
            }
            backup.sequence = std::atoi(std::string(rest.substr(1)).c_str());
        }
        return backup;
    }
    return std::nullopt;
}

void removeOldBackups(const std::string& folder) {
    std::vector<BackupName> backups;
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
        if (entry.is_regular_file(code)) {
            if (auto backup = parseBackupName(entry.path())) {
                backups.push_back(std::move(*backup));
            }
        }
    }
    std::sort(backups.begin(), backups.end(), [](const BackupName& a, const BackupName& b) {
        return std::tie(a.stamp, a.sequence, a.path) > std::tie(b.stamp, b.sequence, b.path);
    });
    for (std::size_t i = kKeptLayoutBackups; i < backups.size(); ++i) {
        fs::remove(backups[i].path, code);
    }
}

// The folder and the missing ones above it; the last two levels are the
// user's alone, since macros may hold what was typed.
std::string makeFolder(const std::string& folder) {
    std::error_code code;
    const fs::path path(folder);
    if (path.has_parent_path() && path.parent_path().has_parent_path()) {
        fs::create_directories(path.parent_path().parent_path(), code);
    }
    for (const fs::path& level : {path.parent_path(), path}) {
        if (!level.empty() && ::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) {
            return "the folder " + level.string() + " could not be made: " + std::strerror(errno);
        }
    }
    if (!fs::is_directory(path, code)) {
        return folder + " is not a folder";
    }
    return {};
}

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[kStampLength + 1];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

// A name no backup has yet, so two updates in one second keep both.
std::string freshPath(const std::string& folder, int modelType) {
    const std::string base = folder + "/" + ModelName(modelType) + std::string(kBackupInfix) + timeStamp();
    std::string path = base + std::string(kProfileExtension);
    std::error_code code;
    for (int sequence = 2; fs::exists(path, code); ++sequence) {
        path = base + "-" + std::to_string(sequence) + std::string(kProfileExtension);
    }
    return path;
}

// A restarting keyboard is there once it answers, before any document is.
bool keyboardAnswers(COrvoHWI& device) {
    wchar_t version[kVersionTextLength] = {};
    return device.ReadKeyboardVersion(version);
}

std::unique_ptr<ConfigDocument> newLayoutDocument(int modelType) {
    auto doc = std::make_unique<ConfigDocument>();
    doc->BuildCatalogue();
    doc->uiLanguage = "en-US";
    doc->modelType = modelType;
    doc->ResetToDefaults();
    return doc;
}

} // namespace

std::string LayoutBackupFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') {
        return std::string(state) + "/zarn/backups";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::string(home) + "/.local/state/zarn/backups";
    }
    return {};
}

std::unique_ptr<ConfigDocument> OpenLayoutDocument(int modelType) {
    auto doc = newLayoutDocument(modelType);
    if (!doc->device.__createDev() || doc->device.lastFailure().failed()) {
        return nullptr;
    }
    return doc;
}

LayoutBackup BackUpLayout(ConfigDocument& doc, const std::string& folder, const WindowHandle& progress) {
    if (folder.empty()) {
        return {{}, "there is no folder for backups (neither XDG_STATE_HOME nor HOME is set)"};
    }
    if (!ReadKeysFromDevice(doc, progress)) {
        return {{}, "the keyboard's keys could not be read"};
    }
    if (doc.device.receivedKeyCount() == 0) {
        return {{}, "the keyboard sent no key"};
    }
    if (HasBacklight(doc.modelType) &&
        (!ReadLightsFromDevice(doc) || doc.device.receivedLightBytes() < kLightArrayLength)) {
        return {{}, "the keyboard's colours could not be read"};
    }
    if (std::string problem = makeFolder(folder); !problem.empty()) {
        return {{}, problem};
    }
    const std::string path = freshPath(folder, doc.modelType);
    if (const ProfileResult saved = SaveProfile(doc, path); !saved) {
        return {{}, "the backup " + path + " could not be written: " + saved.detail};
    }
    removeOldBackups(folder);
    return {path, {}};
}

bool WaitForKeyboard(COrvoHWI& device, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        device.__closeDev();
        if (device.__createDev() && !device.lastFailure().failed() && keyboardAnswers(device)) {
            return true;
        }
        if (std::chrono::steady_clock::now() + kRetryPause > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

std::string RestoreLayout(ConfigDocument& doc, const std::string& path, const WindowHandle& progress) {
    if (const ProfileResult loaded = LoadProfile(doc, path); !loaded) {
        return "the backup " + path + " could not be opened: " + loaded.detail;
    }
    if (!KeyboardAnswers(doc)) {
        return "the keyboard did not answer";
    }
    if (!WriteKeysToDevice(doc, progress)) {
        return "writing the keys failed";
    }
    // Each check reads back through a device opened afresh, which forgets
    // what was sent before: the colours are sent after the keys' check.
    const auto keys = KeysThatDiffer(doc.device, {});
    if (!keys) {
        return "the keys could not be read back";
    }
    if (!keys->empty()) {
        return std::to_string(keys->size()) + " keys differ from the backup after writing it";
    }
    if (!HasBacklight(doc.modelType)) {
        return {};
    }
    if (!WriteLightsToDevice(doc)) {
        return "writing the colours failed";
    }
    const auto colours = LightsThatDiffer(doc.device);
    if (!colours) {
        return "the colours could not be read back";
    }
    if (!colours->empty()) {
        return std::to_string(colours->size()) + " colours differ from the backup after writing them";
    }
    return {};
}

LayoutBackup BackUpKeyboardLayout(int modelType, const std::string& folder) {
    const auto doc = OpenLayoutDocument(modelType);
    if (!doc) {
        return {{}, "the keyboard could not be opened"};
    }
    return BackUpLayout(*doc, folder);
}

std::string RestoreLayoutAfterUpdate(int modelType, const std::string& path, std::chrono::milliseconds wait) {
    const auto doc = newLayoutDocument(modelType);
    if (!WaitForKeyboard(doc->device, wait)) {
        return "the keyboard did not answer after its update";
    }
    return RestoreLayout(*doc, path);
}
