#include "model/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int OpenRegularFile(const std::string& path, struct stat& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    auto refuse = [fd](int error) {
        ::close(fd);
        errno = error;
        return -1;
    };
    if (::fstat(fd, &info) != 0) {
        return refuse(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return refuse(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    // Non-blocking means nothing for a regular file; it is cleared so that
    // the descriptor reads like any other.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return refuse(errno);
    }
    return fd;
}
