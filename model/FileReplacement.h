#pragma once

#include "platform/UniqueFd.h"

#include <deque>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

// Gives a file new content without ever leaving it half written, and without
// harming what stands at its path.  The path may name a regular file (kept
// with its owner, group and mode), a symbolic link (the file it points to is
// replaced) or nothing (a file is created as open(2) would create it).
// Anything else, and a file the user may not write, is refused before a byte
// is written.
//
// The new content goes to a temporary file created exclusively beside the
// target and is renamed over it once complete.  A file with several hard
// links, or one whose owner could not be given to the temporary, is
// rewritten in place instead, so that it stays the same file; the temporary
// then holds a whole copy until the rewrite is done.  Temporaries of saves
// that were killed are removed by the next save of the same file.
class FileReplacement {
public:
    // Checks the target and prepares the temporary; error() says why not.
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool ok() const { return error_ == 0; }
    // The errno of the first failure, 0 while all is well.
    int error() const { return error_; }

    void append(std::string_view bytes) { pieces_.push_back(owned_.emplace_back(bytes)); }
    // Taken over rather than copied.
    void append(std::string&& bytes) { pieces_.push_back(owned_.emplace_back(std::move(bytes))); }
    // Neither copied nor taken over: the caller keeps the bytes alive and
    // unchanged until commit() has returned.
    void appendBorrowed(std::string_view bytes) { pieces_.push_back(bytes); }
    // Puts the appended content in place; false (see error()) leaves the
    // target as it was, except when an in-place rewrite itself fails.
    bool commit();

    // The name a temporary of `target` (a file name without folder) starts
    // with; what follows is "PID.RANDOM" and kTemporarySuffix.
    static std::string temporaryPrefix(std::string_view target);
    static constexpr std::string_view kTemporarySuffix = ".zarn-save";

private:
    bool fail(int error);
    bool createTemporary();
    void removeStaleTemporaries() const;
    bool writeTemporary();
    bool keepOwnership();
    bool renameIntoPlace();
    bool rewriteInPlace();

    std::string target_;
    std::string folder_;
    std::string temporary_;
    // The content in order; a deque never moves the strings it holds, so
    // the pieces stay valid as more are appended.
    std::deque<std::string> owned_;
    std::vector<std::string_view> pieces_;
    UniqueFd temporaryFd_;
    int error_ = 0;
    bool exists_ = false;
    bool inPlace_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
    mode_t mode_ = 0;
};
