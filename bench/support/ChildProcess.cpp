#include "bench/support/ChildProcess.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

double milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
}

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const std::string& added : extra) {
            replaced = replaced || std::string_view(added).substr(0, added.find('=')) == name;
        }
        if (!replaced) {
            merged.emplace_back(text);
        }
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

int spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int outFd,
          int errFd) {
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = mergedEnvironment(environment);
    std::vector<char*> argPointers = pointers(arguments);
    std::vector<char*> envPointers = pointers(variables);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [fd, target] : {std::pair{1, outFd}, std::pair{2, errFd}}) {
        if (target >= 0) {
            posix_spawn_file_actions_adddup2(&actions, target, fd);
        } else {
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
        }
    }
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

} // namespace

int startChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    return spawn(argv, environment, -1, -1);
}

ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                  Capture capture) {
    ChildRun run;
    int pipeFds[2] = {-1, -1};
    if (capture != Capture::Nothing && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawn(argv, environment, capture == Capture::Output ? pipeFds[1] : -1,
                            capture == Capture::Errors ? pipeFds[1] : -1);
    if (capture != Capture::Nothing) {
        ::close(pipeFds[1]);
    }
    if (pid < 0) {
        if (capture != Capture::Nothing) {
            ::close(pipeFds[0]);
        }
        return run;
    }
    run.started = true;
    if (capture != Capture::Nothing) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
            run.output.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipeFds[0]);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    run.maxRssKb = usage.ru_maxrss;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string benchFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}
