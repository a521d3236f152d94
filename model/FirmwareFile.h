#pragma once

#include <cstddef>
#include <string>

// Why a firmware file could not be read; nothing has been sent then.
enum class FirmwareFileError {
    None,
    CannotOpen, // missing, not permitted, a folder, a FIFO, a device: not a file to read
    TooLarge,   // above kMaxFirmwareFileBytes
    CannotRead, // the system failed while reading it
};

// Far above any keyboard's firmware text; a bigger file is not one, and
// reading it would only fill memory.
inline constexpr std::size_t kMaxFirmwareFileBytes = 32u * 1024 * 1024;

struct FirmwareFile {
    FirmwareFileError error = FirmwareFileError::None;
    int systemError = 0; // errno of CannotOpen or CannotRead
    // The file's bytes; c_str() carries the zero byte the download stops at.
    std::string text;
    explicit operator bool() const { return error == FirmwareFileError::None; }
};

// Reads a whole firmware file for the download, for the program and zarnctl
// alike.  Regular files only, opened without waiting (see OpenRegularFile).
// An empty file is read as an empty text: the download refuses it.
FirmwareFile ReadFirmwareFile(const std::string& path);

// One line of English that says what went wrong, for the command line.
std::string FirmwareFileProblem(const FirmwareFile& file);
