#include "platform/VirtualHid.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(VirtualHidList, ParsesWellFormedEntriesInOrderAndSkipsTheRest) {
    const auto devices =
        ParseVirtualHidList("0483:5039:1=/a;bad;0483:51390:1=/b;0483:5139:x=/c;abcd:ef01:12=/d e;;"
                            "0483:5239:1=");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].path, "/a");
    EXPECT_EQ(devices[0].productId, 0x5039);
    EXPECT_EQ(devices[0].interfaceNumber, 1);
    EXPECT_EQ(devices[1].vendorId, 0xABCD);
    EXPECT_EQ(devices[1].productId, 0xEF01);
    EXPECT_EQ(devices[1].interfaceNumber, 12);
    EXPECT_EQ(devices[1].path, "/d e");
    EXPECT_EQ(devices[1].backend, HidBackend::Virtual);
}

// A listening socket in a folder of its own; it accepts only when asked.
class Listener {
public:
    explicit Listener(int backlog) {
        char folder[] = "/tmp/zarn-vhid-XXXXXX";
        folder_ = ::mkdtemp(folder) != nullptr ? folder : "/tmp";
        path_ = folder_ + "/socket";
        fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        address_.sun_family = AF_UNIX;
        std::strncpy(address_.sun_path, path_.c_str(), sizeof(address_.sun_path) - 1);
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&address_), sizeof(address_));
        ::listen(fd_, backlog);
    }
    ~Listener() {
        for (int fd : clients_) {
            ::close(fd);
        }
        ::close(fd_);
        ::unlink(path_.c_str());
        ::rmdir(folder_.c_str());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    const std::string& path() const { return path_; }

    // Connects until the backlog is full, so that the next connect would wait.
    void fillBacklog() {
        for (int i = 0; i < 8; ++i) {
            const int client = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0);
            clients_.push_back(client);
            if (::connect(client, reinterpret_cast<const sockaddr*>(&address_), sizeof(address_)) != 0) {
                break;
            }
        }
    }

    int accept() {
        const int fd = ::accept(fd_, nullptr, nullptr);
        clients_.push_back(fd);
        return fd;
    }

private:
    std::string folder_;
    std::string path_;
    sockaddr_un address_{};
    int fd_ = -1;
    std::vector<int> clients_;
};

TEST(VirtualHid, KeyboardWithFullBacklogDoesNotStallEnumerationOrOpen) {
    Listener busy(0);
    busy.fillBacklog();
    ::setenv(kVirtualHidVariable, ("0483:5039:1=" + busy.path()).c_str(), 1);
    EXPECT_TRUE(EnumerateVirtualHid().empty());
    EXPECT_EQ(OpenVirtualHid(busy.path()), nullptr);
    ::unsetenv(kVirtualHidVariable);
}

TEST(VirtualHid, OneMessageIsOneReportAndAClosedPeerFailsBothWays) {
    Listener listener(4);
    auto connection = OpenVirtualHid(listener.path());
    ASSERT_NE(connection, nullptr);
    const int peer = listener.accept();
    std::array<std::uint8_t, 100> buffer{};

    EXPECT_EQ(connection->read(buffer.data(), 65, 20), -1) << "nothing sent: time-out";

    ASSERT_EQ(::send(peer, buffer.data(), 10, 0), 10);
    ASSERT_EQ(::send(peer, buffer.data(), 100, 0), 100);
    EXPECT_EQ(connection->read(buffer.data(), 65, 1000), 10);
    EXPECT_EQ(connection->read(buffer.data(), 65, 1000), 100)
        << "a long message is cut, not split, and says so";
    EXPECT_EQ(connection->read(buffer.data(), 65, 20), -1);

    buffer[0] = 0;
    buffer[1] = 0xAB;
    ASSERT_TRUE(connection->write(buffer.data(), 65));
    std::array<std::uint8_t, 100> received{};
    EXPECT_EQ(::recv(peer, received.data(), received.size(), 0), 65);
    EXPECT_EQ(received[1], 0xAB);

    ::shutdown(peer, SHUT_RDWR);
    EXPECT_EQ(connection->read(buffer.data(), 65, 1000), -1);
    EXPECT_FALSE(connection->write(buffer.data(), 65));
}

TEST(Clock, CounterAdvancesAtLeastBySleptTime) {
    std::int64_t frequency = 0;
    std::int64_t before = 0;
    std::int64_t after = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_GE((after - before) * 1000 / frequency, 20);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}

} // namespace
