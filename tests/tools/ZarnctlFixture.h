#pragma once

#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// The line of `text` that starts with `start` (not the first line), or "".
std::string lineOf(const std::string& text, const std::string& start);

// Runs zarnctl as a user does, with its own state and runtime folders and a
// virtual keyboard list that names only what the test wants.
class ZarnctlTest : public ::testing::Test {
protected:
    void SetUp() override;

    CliRun zarnctl(const std::vector<std::string>& args);
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    ScratchDir scratch_{"zarnctl-test"};
    std::filesystem::path folder_;
    std::map<std::string, std::string> environment_;
    // Runs zarnctl as this user (and its own group) instead of the test's.
    std::optional<uid_t> user_;
    // The file zarnctl reads as its standard input.
    std::optional<std::filesystem::path> input_;
};

// An Intel HEX record with its checksum, and a small image of them that the
// simulated boot loader takes as complete.
std::string hexRecord(int address, int type, const std::vector<int>& data);
std::string firmwareImage();

// An unprivileged user id, when the test runs as root and so can take one.
std::optional<uid_t> UnprivilegedUser();
