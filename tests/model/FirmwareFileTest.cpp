#include "model/FirmwareFile.h"

#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FirmwareCase {
    const char* label;
    std::function<std::string(const ScratchDir&)> make;
    FirmwareFileError error;
    int systemError;
    std::string text;
};

void PrintTo(const FirmwareCase& c, std::ostream* out) {
    *out << c.label;
}

const FirmwareCase kCases[] = {
    {"HexFile", [](const ScratchDir& dir) { return dir.write("Zarn_v2.hex", ":00000001FF\r\n"); },
     FirmwareFileError::None, 0, ":00000001FF\r\n"},
    // The download refuses it; the file itself could be read.
    {"EmptyFile", [](const ScratchDir& dir) { return dir.write("Zarn_empty.hex", ""); },
     FirmwareFileError::None, 0, ""},
    {"MissingFile", [](const ScratchDir& dir) { return dir.file("Zarn_missing.hex"); },
     FirmwareFileError::CannotOpen, ENOENT, ""},
    {"Folder",
     [](const ScratchDir& dir) {
         std::filesystem::create_directory(dir.file("Zarn_folder"));
         return dir.file("Zarn_folder");
     },
     FirmwareFileError::CannotOpen, EISDIR, ""},
    {"FifoWithoutWriter",
     [](const ScratchDir& dir) {
         ::mkfifo(dir.file("Zarn_fifo.hex").c_str(), 0600);
         return dir.file("Zarn_fifo.hex");
     },
     FirmwareFileError::CannotOpen, EINVAL, ""},
    {"EndlessDevice", [](const ScratchDir&) { return std::string("/dev/zero"); },
     FirmwareFileError::CannotOpen, EINVAL, ""},
    // A sparse file: it costs no disk, but a reader without a cap would fill memory.
    {"OneByteOverTheCap",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("Zarn_huge.hex", "");
         std::filesystem::resize_file(path, kMaxFirmwareFileBytes + 1);
         return path;
     },
     FirmwareFileError::TooLarge, 0, ""},
};

class ReadFirmware : public ::testing::TestWithParam<FirmwareCase> {};

TEST_P(ReadFirmware, RegularFilesUpToTheCapAndNothingThatBlocks) {
    const FirmwareCase& c = GetParam();
    ScratchDir dir;
    const std::string path = c.make(dir);
    auto reading = std::async(std::launch::async, ReadFirmwareFile, path);
    if (reading.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        ADD_FAILURE() << "the read blocked";
        ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
    }
    const FirmwareFile file = reading.get();
    EXPECT_EQ(file.error, c.error);
    EXPECT_EQ(file.systemError, c.systemError);
    EXPECT_EQ(file.text, c.text);
    EXPECT_EQ(FirmwareFileProblem(file).empty(), c.error == FirmwareFileError::None);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadFirmware, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.label); });

} // namespace
