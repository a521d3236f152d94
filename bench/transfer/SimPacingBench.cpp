#include "bench/support/BenchFigures.h"
#include "bench/support/ChildProcess.h"
#include "device/CNormalKeyDefine.h"
#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "platform/VirtualHid.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Begin, one report per slot of single keys, end.
constexpr int kTableReports = kSlotCount + 2;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A zarn-sim process on a socket of its own, ended with the object.
class SimProcess {
public:
    SimProcess(const std::string& folder, int latencyUs) : socket_(folder + "/sim.sock") {
        pid_ = startChild({ZARN_SIM_PATH, "--model", "Zarn", "--socket", socket_, "--latency-us",
                           std::to_string(latencyUs)});
        for (int wait = 0; wait < 500 && !std::filesystem::exists(socket_); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    const std::string& socket() const { return socket_; }

private:
    std::string socket_;
    int pid_ = -1;
};

struct WriteFigures {
    double ms = 0;
    std::vector<double> progressMs; // when each slot's progress was posted
};

WriteFigures writeOnce(const std::string& socket) {
    auto connection = OpenVirtualHid(socket);
    if (!connection) {
        std::fprintf(stderr, "cannot open %s\n", socket.c_str());
        std::exit(1);
    }
    COrvoUtil transport(std::move(connection));
    COrvo mirror(transport);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        auto key = std::make_unique<CNormalKeyDefine>(slot % kKeysPerLayer + 1, slot / kKeysPerLayer + 1);
        key->codes.push_back(4);
        mirror.KeySlotTable[static_cast<std::size_t>(slot)] = std::move(key);
    }
    WriteFigures figures;
    std::mutex mutex;
    const auto start = Clock::now();
    const WindowHandle window = WindowHandle::create([&](unsigned message, WPARAM, LPARAM) {
        if (message == UM_DEVICE_PROGRESS) {
            std::lock_guard lock(mutex);
            figures.progressMs.push_back(msSince(start));
        }
    });
    if (!mirror.writeKeyTable(window)) {
        std::fprintf(stderr, "the write failed\n");
        std::exit(1);
    }
    figures.ms = msSince(start);
    return figures;
}

void measure(const char* label, int latencyUs, double floorMs) {
    const std::string folder =
        std::filesystem::temp_directory_path() / ("zarn-pacing-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    BenchFigures write;
    std::array<BenchFigures, 4> quarters;
    {
        SimProcess sim(folder, latencyUs);
        for (int run = 0; run < kBenchRuns; ++run) {
            const WriteFigures figures = writeOnce(sim.socket());
            write.add(figures.ms);
            for (std::size_t q = 0; q < quarters.size() && !figures.progressMs.empty(); ++q) {
                const std::size_t at = (q + 1) * figures.progressMs.size() / 4 - 1;
                quarters[q].add(figures.progressMs[at]);
            }
        }
    }
    std::filesystem::remove_all(folder);
    std::printf("%-28s %d reports in %s ms", label, kTableReports, write.text().c_str());
    if (floorMs > 0) {
        std::printf(" (floor %.0f ms: %.2fx)", floorMs, write.median() / floorMs);
    }
    std::printf("\n%-28s progress at 1/4 1/2 3/4 all: %.0f %.0f %.0f %.0f ms (medians)\n", "",
                quarters[0].median(), quarters[1].median(), quarters[2].median(), quarters[3].median());
}

} // namespace

int main() {
    std::printf("key-table write through zarn-sim, min / median of %d runs\n", kBenchRuns);
    measure("zarn-sim --latency-us 1000", 1000, kTableReports * 1.0);
    measure("zarn-sim (no latency)", 0, 0);
    return 0;
}
