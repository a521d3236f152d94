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

} // namespace

ChildRun runChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                  bool captureOutput) {
    ChildRun run;
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = mergedEnvironment(environment);
    std::vector<char*> argPointers = pointers(arguments);
    std::vector<char*> envPointers = pointers(variables);

    int outPipe[2] = {-1, -1};
    if (captureOutput && ::pipe2(outPipe, O_CLOEXEC) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (captureOutput) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) {
        ::close(outPipe[1]);
    }
    if (spawned != 0) {
        if (captureOutput) {
            ::close(outPipe[0]);
        }
        return run;
    }
    run.started = true;
    if (captureOutput) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(outPipe[0], buffer, sizeof buffer)) > 0) {
            run.output.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(outPipe[0]);
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
