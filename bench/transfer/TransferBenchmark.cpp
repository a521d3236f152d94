#include "device/CMacroKeyDefine.h"
#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "platform/VirtualHid.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Report = std::array<std::uint8_t, kHidReportSize>;

// Every slot holds the longest macro a slot can carry: 16383 delayed actions.
constexpr int kLongMacroActions = CMacroKeyDefine::kMaxDataBytes / 4;
constexpr int kRuns = 3;

struct Figures {
    long reports = 0;
    double wallSeconds = 0;
    double hostCpuSeconds = 0;
};

double threadCpuNow() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Figures measure(long reports, const std::function<bool()>& run) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuNow();
    if (!run()) {
        std::fprintf(stderr, "transfer failed\n");
        std::exit(1);
    }
    Figures figures;
    figures.hostCpuSeconds = threadCpuNow() - cpuStart;
    figures.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.reports = reports;
    return figures;
}

void print(const char* name, const Figures& figures, const Figures* floor) {
    const double perSecond = static_cast<double>(figures.reports) / figures.wallSeconds;
    std::printf("%-34s %8ld reports %10.0f reports/s %7.2f us/report wall %7.2f us/report host cpu", name,
                figures.reports, perSecond, 1e6 * figures.wallSeconds / static_cast<double>(figures.reports),
                1e6 * figures.hostCpuSeconds / static_cast<double>(figures.reports));
    if (floor != nullptr) {
        const double floorPerSecond = static_cast<double>(floor->reports) / floor->wallSeconds;
        std::printf("  %5.1f %% of floor's rate, %5.1f %% of its host cpu",
                    100.0 * perSecond / floorPerSecond,
                    100.0 * floor->hostCpuSeconds / figures.hostCpuSeconds);
    }
    std::printf("\n");
}

// One listening socket and the peer thread that serves its single connection.
class Peer {
public:
    explicit Peer(std::function<void(int)> serve) {
        path_ = "/tmp/zarn-bench-" + std::to_string(::getpid()) + ".sock";
        ::unlink(path_.c_str());
        listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof(address.sun_path) - 1);
        if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
            ::listen(listener_, 1) != 0) {
            std::perror("bench peer");
            std::exit(1);
        }
        thread_ = std::thread([this, serve = std::move(serve)] {
            const int connection = ::accept(listener_, nullptr, nullptr);
            serve(connection);
            ::close(connection);
        });
    }
    ~Peer() {
        thread_.join();
        ::close(listener_);
        ::unlink(path_.c_str());
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    int listener_ = -1;
    std::thread thread_;
};

int connectRaw(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        std::perror("bench connect");
        std::exit(1);
    }
    return fd;
}

void drain(int fd, long reports) {
    Report report{};
    for (long i = 0; i<reports&& ::recv(fd, report.data(), report.size(), 0)> 0; ++i) {
    }
}

void stream(int fd, const std::vector<Report>& reports) {
    for (const Report& report : reports) {
        if (::send(fd, report.data(), report.size(), MSG_NOSIGNAL) < 0) {
            return;
        }
    }
}

std::unique_ptr<CMacroKeyDefine> longMacro(int slot) {
    auto macro = std::make_unique<CMacroKeyDefine>(slot % kKeysPerLayer + 1, slot / kKeysPerLayer + 1, 2);
    macro->hasDelays = 1;
    for (int i = 0; i < kLongMacroActions; ++i) {
        macro->codes.push_back(i & 0xFF);
        macro->delays.push_back(i);
    }
    return macro;
}

// What a keyboard holding the long table answers to a read: every chunk, then the end.
std::vector<Report> tableAnswer() {
    std::vector<Report> answer;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto macro = longMacro(slot);
        int length = 0;
        macro->encode(nullptr, kPayloadSize, length);
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length));
        macro->encode(buffer.data(), kPayloadSize, length);
        for (int offset = 0; offset < length; offset += kPayloadSize) {
            Report report{};
            std::memcpy(report.data() + 1, buffer.data() + offset, kPayloadSize);
            answer.push_back(report);
        }
    }
    Report end{};
    end[1] = kEndKeyTableCommand;
    answer.push_back(end);
    return answer;
}

Figures rawPingPong(long rounds) {
    Peer peer([rounds](int fd) {
        Report report{};
        for (long i = 0; i<rounds&& ::recv(fd, report.data(), report.size(), 0)> 0; ++i) {
            ::send(fd, report.data(), report.size(), MSG_NOSIGNAL);
        }
    });
    const int fd = connectRaw(peer.path());
    Report report{};
    const Figures figures = measure(rounds, [&] {
        for (long i = 0; i < rounds; ++i) {
            if (::send(fd, report.data(), report.size(), MSG_NOSIGNAL) < 0 ||
                ::recv(fd, report.data(), report.size(), 0) <= 0) {
                return false;
            }
        }
        return true;
    });
    ::close(fd);
    return figures;
}

Figures rawSend(long reports) {
    Peer peer([reports](int fd) { drain(fd, reports); });
    const int fd = connectRaw(peer.path());
    const std::vector<Report> outgoing(1, Report{});
    const Figures figures = measure(reports, [&] {
        for (long i = 0; i < reports; ++i) {
            if (::send(fd, outgoing[0].data(), outgoing[0].size(), MSG_NOSIGNAL) < 0) {
                return false;
            }
        }
        return true;
    });
    ::close(fd);
    return figures;
}

Figures rawReceive(const std::vector<Report>& answer) {
    Peer peer([&answer](int fd) { stream(fd, answer); });
    const int fd = connectRaw(peer.path());
    const long reports = static_cast<long>(answer.size());
    const Figures figures = measure(reports, [&] {
        Report report{};
        for (long i = 0; i < reports; ++i) {
            if (::recv(fd, report.data(), report.size(), 0) <= 0) {
                return false;
            }
        }
        return true;
    });
    ::close(fd);
    return figures;
}

Figures tableWrite(long expectedReports) {
    Peer peer([expectedReports](int fd) { drain(fd, expectedReports); });
    COrvoUtil transport(OpenVirtualHid(peer.path()));
    COrvo mirror(transport);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        mirror.KeySlotTable[static_cast<std::size_t>(slot)] = longMacro(slot);
    }
    return measure(expectedReports, [&] { return mirror.writeKeyTable(WindowHandle()); });
}

Figures tableRead(const std::vector<Report>& answer) {
    Peer peer([&answer](int fd) {
        Report request{};
        if (::recv(fd, request.data(), request.size(), 0) > 0) {
            stream(fd, answer);
        }
    });
    COrvoUtil transport(OpenVirtualHid(peer.path()));
    COrvo mirror(transport);
    return measure(static_cast<long>(answer.size()), [&] { return mirror.readKeyTable(WindowHandle()); });
}

// The machine is shared: the best of a few runs is the figure least disturbed.
Figures best(const std::function<Figures()>& run) {
    Figures result = run();
    for (int i = 1; i < kRuns; ++i) {
        const Figures next = run();
        if (next.wallSeconds < result.wallSeconds) {
            result.wallSeconds = next.wallSeconds;
        }
        if (next.hostCpuSeconds < result.hostCpuSeconds) {
            result.hostCpuSeconds = next.hostCpuSeconds;
        }
    }
    return result;
}

} // namespace

int main() {
    const std::vector<Report> answer = tableAnswer();
    const long tableReports = static_cast<long>(answer.size()) + 1;
    std::printf("key table of %d slots, each a macro of %d delayed actions (%d chunks)\n", kSlotCount,
                kLongMacroActions, CMacroKeyDefine::chunksFor(4 * kLongMacroActions));

    const Figures pingPong = best([] { return rawPingPong(100000); });
    const Figures send = best([&] { return rawSend(tableReports); });
    const Figures receive = best([&] { return rawReceive(answer); });
    const Figures write = best([&] { return tableWrite(tableReports); });
    const Figures read = best([&] { return tableRead(answer); });

    print("raw send/recv ping-pong", pingPong, nullptr);
    print("raw send loop (write floor)", send, nullptr);
    print("raw recv loop (read floor)", receive, nullptr);
    print("writeKeyTable", write, &send);
    print("readKeyTable", read, &receive);
    return 0;
}
