#pragma once

#include "platform/WindowHandle.h"

#include <chrono>
#include <memory>
#include <string>

class COrvoHWI;
class ConfigDocument;

// A firmware update may leave the keyboard with its factory layout: what it
// held is read and kept first, so that it can be written back afterwards.
// The program's firmware dialog and zarnctl flash share this.

// How many backups the folder keeps; older ones are removed.
inline constexpr int kKeptLayoutBackups = 20;

// $XDG_STATE_HOME/zarn/backups, ~/.local/state/zarn/backups without it;
// empty when neither is set.
std::string LayoutBackupFolder();

// A document for moving one keyboard's layout, apart from the program's
// own (whose unsaved edits a backup must not touch): the catalogue, the
// factory layout of `modelType`, and its own device object, opened.  Null
// when the keyboard cannot be opened.
std::unique_ptr<ConfigDocument> OpenLayoutDocument(int modelType);

struct LayoutBackup {
    std::string path;    // the profile written
    std::string problem; // why there is none, in English
    explicit operator bool() const { return problem.empty(); }
};

// Reads the keys and, on a model with a backlight, the colours of the
// keyboard `doc` is open on, and saves them in `folder` (created for the
// user alone) as MODEL-backup-YYYYMMDD-HHMMSS.pro; then removes the oldest
// backups beyond kKeptLayoutBackups.  A read that brought no key at all is a
// failure: restoring it would empty the keyboard.
LayoutBackup BackUpLayout(ConfigDocument& doc, const std::string& folder, const WindowHandle& progress = {});

// Waits until the keyboard answers a version query again (it restarts after
// an update), opening the device afresh each time; false after `limit`.
bool WaitForKeyboard(COrvoHWI& device, std::chrono::milliseconds limit);

// Writes a backup back: its keys and, on a model with a backlight, its
// colours; then reads them back.  Empty when the keyboard holds the backup,
// otherwise what went wrong, in English.
std::string RestoreLayout(ConfigDocument& doc, const std::string& path, const WindowHandle& progress = {});

// The two steps as a program without a device of its own for them takes
// them: the backup through a layout document of `modelType`, and the
// restore once the keyboard answers again after its update (within `wait`).
LayoutBackup BackUpKeyboardLayout(int modelType, const std::string& folder);
std::string RestoreLayoutAfterUpdate(int modelType, const std::string& path, std::chrono::milliseconds wait);
