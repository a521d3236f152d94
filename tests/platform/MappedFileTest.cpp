#include "platform/MappedFile.h"

#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace {

std::string contentOf(const MappedFile& file) {
    return {reinterpret_cast<const char*>(file.data()), file.size()};
}

} // namespace

// The program hands the resource file's pages back after start-up and reads
// images from it again when a window opens: the bytes must come back whole.
TEST(MappedFile, ReadsTheSameBytesAfterItsPagesAreHandedBack) {
    ScratchDir dir;
    ASSERT_TRUE(dir.made());
    std::string bytes(3 * 4096 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 31 % 251);
    }
    const MappedFile file(dir.write("res.rcc", bytes));
    ASSERT_NE(file.data(), nullptr);
    EXPECT_EQ(contentOf(file), bytes);
    file.releasePages();
    EXPECT_EQ(contentOf(file), bytes);
}

TEST(MappedFile, IsEmptyForWhatCannotBeMapped) {
    ScratchDir dir;
    ASSERT_TRUE(dir.made());
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    for (const std::string& path :
         {dir.file("missing"), dir.path(), dir.write("empty", ""), dir.file("fifo")}) {
        const MappedFile file(path);
        EXPECT_EQ(file.data(), nullptr) << path;
        EXPECT_EQ(file.size(), 0u) << path;
        file.releasePages(); // harmless on an empty one
    }
}
