#include "model/LayoutBackup.h"

#include "model/ConfigDocument.h"
#include "model/DeviceBridge.h"
#include "model/LayoutComparison.h"
#include "model/ProfileFile.h"
#include "platform/HidTransport.h"
#include "tests/support/ScratchDir.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class LayoutBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv(kVirtualHidVariable);
        ASSERT_TRUE(scratch_.made());
        folder_ = scratch_.path();
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", (folder_ / "run").c_str(), 1);
        EmbeddedSimulator::Options options;
        options.model = "ZarnRGB";
        options.forgetful = true;
        options.notesToStderr = false;
        std::string error;
        sim_ = EmbeddedSimulator::start(options, &error);
        ASSERT_TRUE(sim_) << error;
    }
    void TearDown() override {
        sim_.reset();
        ::unsetenv(kVirtualHidVariable);
    }

    // Short: the simulator's socket lives under it.
    ScratchDir scratch_{"zarn-bk"};
    fs::path folder_;
    std::unique_ptr<EmbeddedSimulator> sim_;
};

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_F(LayoutBackupTest, SavesWhatTheKeyboardHoldsAndKeepsTheNewestTwenty) {
    // The keyboard holds a layout of its own.
    const auto keyboard = OpenLayoutDocument(4);
    ASSERT_TRUE(keyboard);
    keyboard->keyMode[86] = kTypeSingle;
    keyboard->keyCode[86] = 60;
    keyboard->keyColours[43] = {255, 128, 0};
    ASSERT_TRUE(WriteKeysToDevice(*keyboard, {}));
    ASSERT_TRUE(WriteLightsToDevice(*keyboard));

    // Twenty-one older backups, and what the folder holds besides.
    const fs::path backups = folder_ / "state" / "zarn" / "backups";
    fs::create_directories(backups);
    for (int day = 1; day <= 21; ++day) {
        char name[64];
        std::snprintf(name, sizeof name, "ZarnRGB-backup-202001%02d-120000.pro", day);
        std::ofstream(backups / name) << "old";
    }
    for (const char* other :
         {"notes.txt", "Zarn-backup-old.pro", "ZarnRGB-backup-20190101-000000.pro.keep"}) {
        std::ofstream(backups / other) << "mine";
    }

    const auto reader = OpenLayoutDocument(4);
    ASSERT_TRUE(reader);
    const LayoutBackup backup = BackUpLayout(*reader, backups.string());
    ASSERT_TRUE(backup) << backup.problem;
    EXPECT_EQ(fs::path(backup.path).parent_path(), backups);
    EXPECT_TRUE(fs::path(backup.path).filename().string().starts_with("ZarnRGB-backup-"));

    const std::set<std::string> kept = namesIn(backups);
    EXPECT_EQ(kept.size(), 20u + 3u);
    EXPECT_FALSE(kept.contains("ZarnRGB-backup-20200101-120000.pro")) << "the oldest goes";
    EXPECT_FALSE(kept.contains("ZarnRGB-backup-20200102-120000.pro"));
    EXPECT_TRUE(kept.contains("ZarnRGB-backup-20200103-120000.pro"));
    EXPECT_TRUE(kept.contains("notes.txt") && kept.contains("Zarn-backup-old.pro") &&
                kept.contains("ZarnRGB-backup-20190101-000000.pro.keep"))
        << "only its own names are ever removed";

    auto saved = OpenLayoutDocument(4);
    ASSERT_TRUE(saved);
    ASSERT_TRUE(LoadProfile(*saved, backup.path));
    EXPECT_TRUE(CompareLayouts(*saved, *keyboard, true).empty());

    // A second backup in the same second keeps the first.
    const LayoutBackup again = BackUpLayout(*reader, backups.string());
    ASSERT_TRUE(again) << again.problem;
    EXPECT_NE(again.path, backup.path);
    EXPECT_TRUE(fs::exists(backup.path));
}

TEST_F(LayoutBackupTest, TheFolderIsTheUsersAloneAndAReadOfNothingIsNoBackup) {
    const fs::path backups = folder_ / "state" / "zarn" / "backups";
    const auto doc = OpenLayoutDocument(4);
    ASSERT_TRUE(doc);
    ASSERT_TRUE(BackUpLayout(*doc, backups.string()));
    struct stat info {};
    ASSERT_EQ(::stat(backups.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A keyboard whose table is empty sends nothing at all: written back,
    // such a backup would clear every key.
    for (int slot = 2; slot < kSlotCount; ++slot) {
        doc->keyMode[static_cast<std::size_t>(slot)] = kTypeNotSet;
    }
    ASSERT_TRUE(WriteKeysToDevice(*doc, {}));
    const LayoutBackup none = BackUpLayout(*doc, backups.string());
    EXPECT_FALSE(none);
    EXPECT_EQ(none.problem, "the keyboard sent no key");
    EXPECT_FALSE(BackUpLayout(*doc, ""));
}

TEST_F(LayoutBackupTest, RestoreWritesTheBackupBackAndChecksIt) {
    const auto keyboard = OpenLayoutDocument(4);
    ASSERT_TRUE(keyboard);
    keyboard->keyMode[86] = kTypeMultimedia;
    keyboard->keyCode[86] = 112;
    keyboard->keyColours[1] = {9, 9, 9};
    const std::string path = (folder_ / "layout.pro").string();
    ASSERT_TRUE(SaveProfile(*keyboard, path));

    EXPECT_EQ(RestoreLayoutAfterUpdate(4, path, std::chrono::milliseconds(0)), "");
    const auto read = OpenLayoutDocument(4);
    ASSERT_TRUE(read);
    ASSERT_TRUE(ReadKeysFromDevice(*read, {}));
    ASSERT_TRUE(ReadLightsFromDevice(*read));
    EXPECT_TRUE(CompareLayouts(*read, *keyboard, true).empty());

    EXPECT_NE(RestoreLayoutAfterUpdate(4, (folder_ / "missing.pro").string(), std::chrono::milliseconds(0)),
              "");
    sim_.reset();
    EXPECT_EQ(RestoreLayoutAfterUpdate(4, path, std::chrono::milliseconds(300)),
              "the keyboard did not answer after its update");
}

} // namespace
