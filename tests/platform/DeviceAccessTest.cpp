#include "platform/HidTransport.h"
#include "platform/TransferLock.h"
#include "platform/VirtualHid.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <ostream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder everyone may enter, so that an unprivileged user can reach the
// nodes the test makes in it.
class OpenFolder {
public:
    OpenFolder() {
        if (scratch_.made()) {
            ::chmod(scratch_.path().c_str(), 0755);
        }
    }

    std::string file(const std::string& name) const { return scratch_.file(name); }

    std::string regularFile(const std::string& name, mode_t mode) const {
        const std::string path = file(name);
        std::ofstream(path) << "not a hid device";
        ::chmod(path.c_str(), mode);
        return path;
    }

private:
    ScratchDir scratch_{"zarn-access"};
};

// A SOCK_SEQPACKET socket listening at `path`; with `keepListening` false it
// is closed again, leaving a socket file nobody answers.
class SocketFile {
public:
    SocketFile(const std::string& path, mode_t mode, bool keepListening = true) {
        fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(fd_, 4);
        ::chmod(path.c_str(), mode);
        if (!keepListening) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SocketFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    SocketFile(const SocketFile&) = delete;
    SocketFile& operator=(const SocketFile&) = delete;

    int accept() const { return ::accept(fd_, nullptr, nullptr); }

private:
    int fd_ = -1;
};

// The failure kind `open` meets, as an unprivileged user: root opens
// anything, so as root it runs in a child that has given up root.
HidFailureKind asUnprivilegedUser(const std::function<HidFailureKind()>& open) {
    if (::geteuid() != 0) {
        return open();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            ::_exit(100);
        }
        ::_exit(static_cast<int>(open()));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 100) << "could not give up root";
    return static_cast<HidFailureKind>(WIFEXITED(status) ? WEXITSTATUS(status) : 0);
}

HidFailure open(HidBackend backend, const std::string& path) {
    HidDeviceInfo device;
    device.backend = backend;
    device.path = path;
    HidFailure failure;
    auto connection = OpenHidDevice(device, &failure);
    EXPECT_EQ(connection == nullptr, failure.failed());
    return failure;
}

struct OpenCase {
    const char* name;
    HidBackend backend;
    // Makes the node in the folder and gives its path.
    std::function<std::string(const OpenFolder&)> make;
    HidFailureKind expected;
};

void PrintTo(const OpenCase& c, std::ostream* out) {
    *out << c.name;
}

class OpenFailure : public ::testing::TestWithParam<OpenCase> {};

// The owner must learn why a keyboard that is there cannot be used: the node
// a udev rule has not opened to them, or one that went away.
TEST_P(OpenFailure, SaysWhyTheNodeCannotBeOpenedAndNamesIt) {
    const OpenCase& c = GetParam();
    OpenFolder folder;
    const std::string path = c.make(folder);
    const HidFailureKind kind = asUnprivilegedUser([&] { return open(c.backend, path).kind; });
    EXPECT_EQ(kind, c.expected);
    if (c.expected != HidFailureKind::None) {
        EXPECT_EQ(open(c.backend, path).node, path);
    }
}

std::string hidrawNode(const OpenFolder& folder, mode_t mode) {
    return folder.regularFile("hidraw7", mode);
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, OpenFailure,
    ::testing::Values(OpenCase{"hidraw_without_permission", HidBackend::Hidraw,
                               [](const OpenFolder& f) { return hidrawNode(f, 0600); },
                               HidFailureKind::PermissionDenied},
                      OpenCase{"hidraw_gone", HidBackend::Hidraw,
                               [](const OpenFolder& f) { return f.file("hidraw9"); }, HidFailureKind::Gone},
                      OpenCase{"not_a_hid_device", HidBackend::Hidraw,
                               [](const OpenFolder& f) { return hidrawNode(f, 0666); },
                               HidFailureKind::SystemError},
                      OpenCase{"socket_gone", HidBackend::Virtual,
                               [](const OpenFolder& f) { return f.file("gone.sock"); }, HidFailureKind::Gone},
                      OpenCase{"socket_nobody_serves", HidBackend::Virtual,
                               [](const OpenFolder& f) {
                                   const std::string path = f.file("dead.sock");
                                   SocketFile closed(path, 0777, false);
                                   return path;
                               },
                               HidFailureKind::Gone}),
    [](const ::testing::TestParamInfo<OpenCase>& row) { return std::string(row.param.name); });

TEST(OpenFailure, ASocketThisUserMayNotConnectToIsPermissionDenied) {
    OpenFolder folder;
    const std::string path = folder.file("keyboard.sock");
    const SocketFile socket(path, 0600);
    const HidFailureKind kind = asUnprivilegedUser([&] { return open(HidBackend::Virtual, path).kind; });
    EXPECT_EQ(kind, HidFailureKind::PermissionDenied);
    EXPECT_FALSE(open(HidBackend::Virtual, path).failed()) << "its owner may";
}

struct LockCase {
    const char* name;
    TransferLock::Kind kind;
};

void PrintTo(const LockCase& c, std::ostream* out) {
    *out << c.name;
}

class TransferLockTest : public ::testing::TestWithParam<LockCase> {};

// Two programs each hold a lock of their own on the same keyboard; the
// second is turned away while the first transfers, and gets it afterwards.
TEST_P(TransferLockTest, ASecondHolderIsBusyUntilTheFirstLetsGo) {
    OpenFolder folder;
    std::unique_ptr<SocketFile> socket;
    std::string path;
    if (GetParam().kind == TransferLock::Kind::Socket) {
        path = folder.file("keyboard.sock");
        socket = std::make_unique<SocketFile>(path, 0600);
    } else {
        path = folder.regularFile("hidraw3", 0600);
    }
    TransferLock gui(GetParam().kind, path);
    TransferLock cli(GetParam().kind, path);

    ASSERT_FALSE(gui.acquire().failed());
    const HidFailure busy = cli.acquire();
    EXPECT_EQ(busy.kind, HidFailureKind::Busy);
    EXPECT_EQ(busy.node, path);
    EXPECT_FALSE(gui.acquire().failed()) << "taking it again is no conflict";

    gui.release();
    EXPECT_FALSE(cli.acquire().failed());
    EXPECT_EQ(gui.acquire().kind, HidFailureKind::Busy);
    cli.release();
    EXPECT_FALSE(gui.acquire().failed());
}

INSTANTIATE_TEST_SUITE_P(Devices, TransferLockTest,
                         ::testing::Values(LockCase{"hidraw_node", TransferLock::Kind::DeviceNode},
                                           LockCase{"virtual_socket", TransferLock::Kind::Socket}),
                         [](const ::testing::TestParamInfo<LockCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(TransferLock, ALockOnASocketThatWentAwaySaysGone) {
    OpenFolder folder;
    TransferLock lock(TransferLock::Kind::Socket, folder.file("unplugged.sock"));
    EXPECT_EQ(lock.acquire().kind, HidFailureKind::Gone);
}

TEST(VirtualHidFailure, TellsATimeOutFromAPeerThatHungUp) {
    OpenFolder folder;
    const std::string path = folder.file("keyboard.sock");
    const SocketFile socket(path, 0600);
    HidFailure failure;
    auto connection = OpenVirtualHid(path, &failure);
    ASSERT_NE(connection, nullptr);
    const int peer = socket.accept();
    std::array<std::uint8_t, kHidReportSize> report{};

    EXPECT_EQ(connection->read(report.data(), report.size(), 20), -1);
    EXPECT_EQ(connection->lastFailure().kind, HidFailureKind::NoAnswer);
    ::close(peer);
    EXPECT_EQ(connection->read(report.data(), report.size(), 1000), -1);
    EXPECT_EQ(connection->lastFailure().kind, HidFailureKind::Gone);
    EXPECT_FALSE(connection->write(report.data(), report.size()));
    EXPECT_EQ(connection->lastFailure().kind, HidFailureKind::Gone);
    EXPECT_EQ(connection->lastFailure().node, path);
}

} // namespace
