#include "model/FirmwareFile.h"

#include "model/RegularFile.h"
#include "platform/UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

FirmwareFile failed(FirmwareFileError error, int systemError) {
    FirmwareFile file;
    file.error = error;
    file.systemError = systemError;
    return file;
}

} // namespace

FirmwareFile ReadFirmwareFile(const std::string& path) {
    struct stat info {};
    UniqueFd fd(OpenRegularFile(path, info));
    if (fd.get() < 0) {
        return failed(FirmwareFileError::CannotOpen, errno);
    }
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > kMaxFirmwareFileBytes) {
        return failed(FirmwareFileError::TooLarge, 0);
    }
    FirmwareFile file;
    file.text.reserve(static_cast<std::size_t>(info.st_size) + 1);
    // The file may grow while it is read: one byte past the cap is enough
    // to know it is too large.
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return failed(FirmwareFileError::CannotRead, errno);
        }
        if (n == 0) {
            return file;
        }
        file.text.append(buffer, static_cast<std::size_t>(n));
        if (file.text.size() > kMaxFirmwareFileBytes) {
            return failed(FirmwareFileError::TooLarge, 0);
        }
    }
}

std::string FirmwareFileProblem(const FirmwareFile& file) {
    switch (file.error) {
    case FirmwareFileError::CannotOpen:
        if (file.systemError == EINVAL) {
            return "it is not a regular file";
        }
        return std::strerror(file.systemError);
    case FirmwareFileError::TooLarge:
        return "it is larger than 32 MB, which no firmware is";
    case FirmwareFileError::CannotRead:
        return std::string("reading it failed: ") + std::strerror(file.systemError);
    case FirmwareFileError::None:
        break;
    }
    return {};
}
