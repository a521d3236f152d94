#include "model/RegularFile.h"

#include "platform/UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int OpenRegularFile(const std::string& path, struct stat& info) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        return -1;
    }
    auto refuse = [&fd](int error) {
        fd.reset();
        errno = error;
        return -1;
    };
    if (::fstat(fd.get(), &info) != 0) {
        return refuse(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return refuse(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    // Non-blocking means nothing for a regular file; it is cleared so that
    // the descriptor reads like any other.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return refuse(errno);
    }
    return fd.release();
}
