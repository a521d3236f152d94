#include "bench/support/BenchFigures.h"
#include "bench/support/ChildProcess.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for a started program to settle: the memory it then holds is
// what it keeps while the user looks at it.
constexpr auto kRest = std::chrono::milliseconds(1500);
constexpr int kShowTimeoutMs = 20000;

long statusKb(int pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(field));
        }
    }
    return 0;
}

double cpuMs(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && rest >> field; ++i) {
        if (i >= 12) {
            ticks += std::atof(field.c_str());
        }
    }
    return 1000.0 * ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Waits for the next top-level window to be mapped on the display.
bool waitForMap(Display* display) {
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    const auto deadline = Clock::now() + std::chrono::milliseconds(kShowTimeoutMs);
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return true;
            }
        }
        ::poll(&fd, 1, 50);
    }
    return false;
}

struct Figures {
    BenchFigures shownMs;
    BenchFigures cpuAtShownMs;
    BenchFigures restRssMb;
};

void measure(Display* display, const char* label, const std::vector<std::string>& command,
             const std::vector<std::string>& environment) {
    Figures figures;
    for (int run = 0; run < kBenchRuns; ++run) {
        XSync(display, True);
        const auto start = Clock::now();
        const int pid = startChild(command, environment);
        if (pid < 0 || !waitForMap(display)) {
            std::printf("%-22s did not show a window\n", label);
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
            return;
        }
        figures.shownMs.add(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        figures.cpuAtShownMs.add(cpuMs(pid));
        std::this_thread::sleep_for(kRest);
        figures.restRssMb.add(static_cast<double>(statusKb(pid, "VmRSS:")) / 1024.0);
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
    std::printf("%-22s shown after %s ms (cpu %s ms, in clock ticks)  at rest %s MB\n", label,
                figures.shownMs.text().c_str(), figures.cpuAtShownMs.text(0).c_str(),
                figures.restRssMb.text().c_str());
}

} // namespace

// Further builds of the program given on the command line are measured the
// same way, to set a change beside what it changed.
int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::printf("no X display: run under an X server, e.g. xvfb-run -a %s\n", "bench_startup");
        return 0;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const std::string state =
        std::filesystem::temp_directory_path() / ("zarn-startup-" + std::to_string(getpid()));
    std::filesystem::create_directories(state);
    const std::vector<std::string> environment = {"QT_QPA_PLATFORM=xcb", "ZARN_SCALE=1",
                                                  "XDG_STATE_HOME=" + state};
    std::printf("start-up to the first window mapped on %s, min / median of %d runs\n",
                DisplayString(display), kBenchRuns);
    measure(display, "minimal Qt window", {ZARN_MINIMAL_WINDOW_PATH}, environment);
    // The fair peer: a window that shows text loads fonts, as the program must.
    measure(display, "  with a text label", {ZARN_MINIMAL_WINDOW_PATH, "--label"}, environment);
    measure(display, "Zarn --simulate", {ZARN_PROGRAM_PATH, "--simulate"}, environment);
    for (int i = 1; i < argc; ++i) {
        const std::string label = std::filesystem::path(argv[i]).filename().string() + " --simulate";
        measure(display, label.c_str(), {argv[i], "--simulate"}, environment);
    }
    std::filesystem::remove_all(state);
    XCloseDisplay(display);
    return 0;
}
