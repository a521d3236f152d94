#include "model/FileReplacement.h"

#include "model/ConfigDocument.h"
#include "model/ProfileFile.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// The whole road of a save, as the program and zarnctl take it.
bool save(const std::string& path) {
    static const std::unique_ptr<ConfigDocument> doc = [] {
        auto made = std::make_unique<ConfigDocument>();
        made->modelType = 3;
        made->ResetToDefaults();
        return made;
    }();
    return static_cast<bool>(SaveProfile(*doc, path));
}

const std::string& savedContent() {
    static const std::string content = [] {
        ScratchDir dir;
        save(dir.file("reference.pro"));
        return ScratchDir::read(dir.file("reference.pro"));
    }();
    return content;
}

// Runs a save as an ordinary user: as root the check of the file's own
// permissions would not bite.  The child only calls the text-file layer.
bool saveAsOrdinaryUser(const std::string& path) {
    if (::geteuid() != 0) {
        return save(path);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        ::_exit(save(path) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become an ordinary user";
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

std::set<std::string> namesIn(const ScratchDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.file(""))) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// What stands at the target before the save, what the save must say, and
// what must hold afterwards.
struct HostileTarget {
    const char* label;
    // Makes the target in the folder and returns its path; empty to skip.
    std::function<std::string(const ScratchDir&)> make;
    bool saves;
    std::function<void(const ScratchDir&, const std::string&)> check;
    std::function<bool(const std::string&)> saver = save;
};

void PrintTo(const HostileTarget& target, std::ostream* out) {
    *out << target.label;
}

const HostileTarget kTargets[] = {
    {"DeviceNode",
     [](const ScratchDir& dir) {
         const std::string path = dir.file("null.pro");
         return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0 ? path : std::string();
     },
     false,
     [](const ScratchDir&, const std::string& path) {
         const struct stat info = statOf(path);
         EXPECT_TRUE(S_ISCHR(info.st_mode));
         EXPECT_EQ(info.st_rdev, ::makedev(1, 3));
     }},
    // Opening it for writing would wait for a reader forever.
    {"Fifo",
     [](const ScratchDir& dir) {
         const std::string path = dir.file("fifo.pro");
         return ::mkfifo(path.c_str(), 0600) == 0 ? path : std::string();
     },
     false,
     [](const ScratchDir&, const std::string& path) {
         EXPECT_TRUE(S_ISFIFO(statOf(path).st_mode));
     }},
    {"Folder",
     [](const ScratchDir& dir) {
         fs::create_directory(dir.file("folder.pro"));
         return dir.file("folder.pro");
     },
     false,
     [](const ScratchDir&, const std::string& path) {
         EXPECT_TRUE(fs::is_directory(path));
     }},
    {"ReadOnlyFileOfAnOrdinaryUser",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("readonly.pro", "previous");
         ::chown(dir.file("").c_str(), kNobody, kNobody);
         ::chown(path.c_str(), kNobody, kNobody);
         ::chmod(path.c_str(), 0444);
         return path;
     },
     false,
     [](const ScratchDir&, const std::string& path) {
         EXPECT_EQ(ScratchDir::read(path), "previous");
         EXPECT_EQ(statOf(path).st_mode & 07777, 0444u);
         EXPECT_EQ(statOf(path).st_gid, kNobody);
     },
     saveAsOrdinaryUser},
    // No temporary can be made beside it: the file is rewritten where it is.
    {"WritableFileInAReadOnlyFolder",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("in-place.pro", "previous");
         ::chown(path.c_str(), kNobody, kNobody);
         ::chown(dir.file("").c_str(), kNobody, kNobody);
         ::chmod(dir.file("").c_str(), 0555);
         return path;
     },
     true,
     [](const ScratchDir& dir, const std::string& path) {
         EXPECT_EQ(statOf(path).st_uid, kNobody);
         ::chmod(dir.file("").c_str(), 0755);
     },
     saveAsOrdinaryUser},
    {"HardLink",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("linked.pro", "previous");
         fs::create_hard_link(path, dir.file("other-name.pro"));
         return path;
     },
     true,
     [](const ScratchDir& dir, const std::string& path) {
         // Still one file under two names, both with the new content.
         EXPECT_EQ(statOf(path).st_ino, statOf(dir.file("other-name.pro")).st_ino);
         EXPECT_EQ(statOf(path).st_nlink, 2u);
         EXPECT_EQ(ScratchDir::read(dir.file("other-name.pro")), savedContent());
     }},
    {"NameOf254Characters", [](const ScratchDir& dir) { return dir.file(std::string(250, 'n') + ".pro"); },
     true,
     [](const ScratchDir&, const std::string&) {
     }},
    {"SymlinkPlantedAtTheOldTemporaryName",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("target.pro", "previous");
         const std::string victim = dir.write("victim", "untouched");
         fs::create_symlink(victim, path + ".tmp" + std::to_string(::getpid()));
         return path;
     },
     true,
     [](const ScratchDir& dir, const std::string&) {
         EXPECT_EQ(ScratchDir::read(dir.file("victim")), "untouched");
     }},
    {"FileOfAnotherOwnerWithItsOwnMode",
     [](const ScratchDir& dir) {
         const std::string path = dir.write("owned.pro", "previous");
         ::chmod(path.c_str(), 0640);
         return ::geteuid() == 0 && ::chown(path.c_str(), kNobody, kNobody) == 0 ? path : std::string();
     },
     true,
     [](const ScratchDir&, const std::string& path) {
         const struct stat info = statOf(path);
         EXPECT_EQ(info.st_uid, kNobody);
         EXPECT_EQ(info.st_gid, kNobody);
         EXPECT_EQ(info.st_mode & 07777, 0640u);
     }},
};

class SaveTarget : public ::testing::TestWithParam<HostileTarget> {};

TEST_P(SaveTarget, NothingAtThePathIsHarmed) {
    const HostileTarget& target = GetParam();
    ScratchDir dir;
    const std::string path = target.make(dir);
    if (path.empty()) {
        GTEST_SKIP() << "this system does not let the test make a " << target.label;
    }
    const std::set<std::string> before = namesIn(dir);
    auto saving = std::async(std::launch::async, target.saver, path);
    ASSERT_EQ(saving.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "the save blocked";
    EXPECT_EQ(saving.get(), target.saves);
    if (target.saves) {
        EXPECT_EQ(ScratchDir::read(path), savedContent());
    }
    target.check(dir, path);
    // No temporary is left behind either way.
    std::set<std::string> after = namesIn(dir);
    after.erase(fs::path(path).filename().string());
    std::set<std::string> expected = before;
    expected.erase(fs::path(path).filename().string());
    EXPECT_EQ(after, expected);
}

INSTANTIATE_TEST_SUITE_P(Hostile, SaveTarget, ::testing::ValuesIn(kTargets),
                         [](const auto& row) { return std::string(row.param.label); });

pid_t deadProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(SaveTemporaries, ThoseOfKilledSavesAreRemovedByTheNextSave) {
    ScratchDir dir;
    const std::string prefix = FileReplacement::temporaryPrefix("profile.pro");
    const std::string suffix(FileReplacement::kTemporarySuffix);
    const std::string killed = prefix + std::to_string(deadProcess()) + ".AbCdEf" + suffix;
    const std::string running = prefix + std::to_string(::getppid()) + ".AbCdEf" + suffix;
    const std::string otherFile =
        FileReplacement::temporaryPrefix("other.pro") + std::to_string(deadProcess()) + ".AbCdEf" + suffix;
    for (const std::string& name : {killed, running, otherFile}) {
        dir.write(name, "half a profile");
    }
    ASSERT_TRUE(save(dir.file("profile.pro")));
    const std::set<std::string> names = namesIn(dir);
    EXPECT_FALSE(names.contains(killed));
    EXPECT_TRUE(names.contains(running)) << "a save still running keeps its temporary";
    EXPECT_TRUE(names.contains(otherFile)) << "only the saved file's temporaries are looked at";
}

TEST(SaveTemporaries, NamesFitBesideTheLongestLegalName) {
    const std::string longest(255, 'x');
    const std::string name = FileReplacement::temporaryPrefix(longest) + "4194304.AbCdEf" +
                             std::string(FileReplacement::kTemporarySuffix);
    EXPECT_LE(name.size(), 255u);
    // A character is never cut in two.
    const std::string chinese = FileReplacement::temporaryPrefix(std::string(199, 'x') + "\xE4\xB8\xAD.pro");
    EXPECT_EQ(chinese, "." + std::string(199, 'x') + ".");
}

} // namespace
