#include "model/FileReplacement.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;
// A temporary's name is a dot, at most this much of the target's name, a
// dot, the process id, a dot, six random characters and the suffix: with the
// longest process id it stays well inside the 255 bytes a name may have.
constexpr std::size_t kKeptNameBytes = 200;
constexpr std::size_t kRandomCharacters = 6;
constexpr int kCreateAttempts = 100;

// The file a path finally names, following symbolic links (relative ones
// from the folder of the link).  A path that names nothing is returned as it
// is: the file will be created there.
bool resolveLinks(const std::string& path, std::string& resolved, int& error) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                resolved = current.string();
                return true;
            }
            error = errno;
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = current.string();
            return true;
        }
        std::error_code failure;
        const std::filesystem::path link = std::filesystem::read_symlink(current, failure);
        if (failure) {
            error = failure.value();
            return false;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    error = ELOOP;
    return false;
}

bool writeAll(int fd, std::string_view bytes, off_t& offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

bool writeAll(int fd, const std::vector<std::string_view>& pieces) {
    off_t offset = 0;
    for (std::string_view bytes : pieces) {
        if (!writeAll(fd, bytes, offset)) {
            return false;
        }
    }
    return true;
}

// Some file systems cannot sync; that is no reason to call a save failed.
bool synced(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

std::string randomCharacters() {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string text;
    for (std::size_t i = 0; i < kRandomCharacters; ++i) {
        text += kAlphabet[pick(generator)];
    }
    return text;
}

// The process id in a temporary's name, if the rest of it has our pattern.
bool temporaryOwner(std::string_view name, std::string_view prefix, pid_t& pid) {
    const std::string_view suffix = FileReplacement::kTemporarySuffix;
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) {
        return false;
    }
    std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t dot = middle.find('.');
    if (dot == std::string_view::npos || middle.size() - dot - 1 != kRandomCharacters) {
        return false;
    }
    auto [end, failure] = std::from_chars(middle.data(), middle.data() + dot, pid);
    return failure == std::errc() && end == middle.data() + dot && pid > 0;
}

bool processIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

std::string FileReplacement::temporaryPrefix(std::string_view target) {
    std::size_t kept = std::min(target.size(), kKeptNameBytes);
    // Never cut a UTF-8 character in two.
    while (kept > 0 && kept < target.size() && (static_cast<unsigned char>(target[kept]) & 0xC0) == 0x80) {
        --kept;
    }
    std::string prefix = ".";
    prefix += target.substr(0, kept);
    prefix += '.';
    return prefix;
}

FileReplacement::FileReplacement(const std::string& path) {
    if (path.empty()) {
        fail(ENOENT);
        return;
    }
    int error = 0;
    if (!resolveLinks(path, target_, error)) {
        fail(error);
        return;
    }
    struct stat info {};
    if (::lstat(target_.c_str(), &info) == 0) {
        // A device node, a FIFO or a socket would be replaced by a plain
        // file; a folder cannot be.
        if (!S_ISREG(info.st_mode)) {
            fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
            return;
        }
        // The folder may let us replace a file that we may not write: that
        // would go around its permissions.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
            fail(errno);
            return;
        }
        exists_ = true;
        device_ = info.st_dev;
        inode_ = info.st_ino;
        owner_ = info.st_uid;
        group_ = info.st_gid;
        mode_ = info.st_mode & 07777;
        // A rename would split the names of the file.
        inPlace_ = info.st_nlink > 1;
    } else if (errno != ENOENT) {
        fail(errno);
        return;
    }
    const std::filesystem::path folder = std::filesystem::path(target_).parent_path();
    folder_ = folder.empty() ? "." : folder.string();
    removeStaleTemporaries();
    if (!createTemporary()) {
        // A file we may write in a folder we may not: rewritten in place.
        if (exists_ && error_ == EACCES) {
            error_ = 0;
            inPlace_ = true;
        }
    }
}

FileReplacement::~FileReplacement() {
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

bool FileReplacement::fail(int error) {
    if (error_ == 0) {
        error_ = error != 0 ? error : EIO;
    }
    return false;
}

// Exclusive creation that never follows a link: whatever someone planted in
// the folder, this opens a file of our own or nothing.  Mode 0666 leaves the
// permissions of a new file to the umask, as open(2) would.
bool FileReplacement::createTemporary() {
    const std::string base = folder_ + "/" +
                             temporaryPrefix(std::filesystem::path(target_).filename().string()) +
                             std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::string name = base + randomCharacters() + std::string(kTemporarySuffix);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporaryFd_.reset(fd);
            temporary_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            return fail(errno);
        }
    }
    return fail(EEXIST);
}

// A save killed between creating its temporary and renaming it leaves the
// temporary behind; it is found by its pattern and its dead process.
void FileReplacement::removeStaleTemporaries() const {
    DIR* folder = ::opendir(folder_.c_str());
    if (folder == nullptr) {
        return;
    }
    const std::string prefix = temporaryPrefix(std::filesystem::path(target_).filename().string());
    while (const dirent* entry = ::readdir(folder)) {
        pid_t pid = 0;
        if (!temporaryOwner(entry->d_name, prefix, pid) || pid == ::getpid() || !processIsGone(pid)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

bool FileReplacement::commit() {
    if (!ok()) {
        return false;
    }
    if (temporaryFd_ && !writeTemporary()) {
        return false;
    }
    if (!inPlace_ && exists_ && !keepOwnership()) {
        // Another user's file in our folder: replacing it would make it ours.
        inPlace_ = true;
    }
    return inPlace_ ? rewriteInPlace() : renameIntoPlace();
}

bool FileReplacement::writeTemporary() {
    if (!writeAll(temporaryFd_.get(), pieces_) || !synced(temporaryFd_.get())) {
        return fail(errno);
    }
    return true;
}

bool FileReplacement::keepOwnership() {
    struct stat info {};
    if (::fstat(temporaryFd_.get(), &info) != 0) {
        return false;
    }
    if ((info.st_uid != owner_ || info.st_gid != group_) &&
        ::fchown(temporaryFd_.get(), owner_, group_) != 0) {
        return false;
    }
    // After the owner: changing it clears the set-id bits.
    return ::fchmod(temporaryFd_.get(), mode_) == 0;
}

bool FileReplacement::renameIntoPlace() {
    if (!temporaryFd_.close()) {
        return fail(errno);
    }
    int renamed = -1;
    if (!exists_) {
        // Whatever appeared at the path since it was checked is not ours to replace.
        renamed = ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE);
    }
    if (exists_ || (renamed != 0 && errno == EINVAL)) {
        renamed = ::rename(temporary_.c_str(), target_.c_str());
    }
    if (renamed != 0) {
        return fail(errno);
    }
    temporary_.clear();
    // The rename itself is on disk only once the folder is.
    UniqueFd folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) {
        ::fsync(folder.get());
    }
    return true;
}

bool FileReplacement::rewriteInPlace() {
    UniqueFd file(::open(target_.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file) {
        return fail(errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return fail(errno);
    }
    // It must still be the file that was checked.
    if (!S_ISREG(info.st_mode) || info.st_dev != device_ || info.st_ino != inode_) {
        return fail(EINVAL);
    }
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return fail(errno);
    }
    off_t size = 0;
    for (std::string_view piece : pieces_) {
        size += static_cast<off_t>(piece.size());
    }
    if (!writeAll(file.get(), pieces_) || ::ftruncate(file.get(), size) != 0 || !synced(file.get())) {
        return fail(errno);
    }
    if (!file.close()) {
        return fail(errno);
    }
    return true;
}
