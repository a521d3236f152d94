#include "tests/support/ScriptedKeyboard.h"

#include "platform/HidTransport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Short waits so the server notices the end of the test quickly.
constexpr int kPollSliceMs = 50;

std::string makeFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zarn-kbd-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%04X", value);
    return text;
}

std::vector<std::string> splitList(const char* list) {
    std::vector<std::string> entries;
    if (list == nullptr) {
        return entries;
    }
    std::stringstream stream(list);
    std::string entry;
    while (std::getline(stream, entry, ';')) {
        if (!entry.empty()) {
            entries.push_back(entry);
        }
    }
    return entries;
}

void setList(const std::vector<std::string>& entries) {
    std::string joined;
    for (const auto& entry : entries) {
        joined += (joined.empty() ? "" : ";") + entry;
    }
    if (joined.empty()) {
        ::unsetenv(kVirtualHidVariable);
    } else {
        ::setenv(kVirtualHidVariable, joined.c_str(), 1);
    }
}

// True when `fd` became ready for `events`; false when stopping or on error.
bool waitReady(int fd, short events, const std::atomic<bool>& stopping) {
    while (!stopping) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, kPollSliceMs);
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        if (ready > 0) {
            return (entry.revents & events) != 0 || (entry.revents & (POLLHUP | POLLERR)) == 0;
        }
    }
    return false;
}

bool sendMessage(int fd, const std::uint8_t* message, std::size_t size, const std::atomic<bool>& stopping) {
    if (!waitReady(fd, POLLOUT, stopping)) {
        return false;
    }
    return ::send(fd, message, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
}

bool sendPayload(int fd, const ScriptedKeyboard::Payload& payload, const std::atomic<bool>& stopping) {
    std::array<std::uint8_t, kHidReportSize> report{};
    std::copy(payload.begin(), payload.end(), report.begin() + 1);
    return sendMessage(fd, report.data(), report.size(), stopping);
}

// Sleeps in short slices, so that the end of the test is noticed; false when
// the host has gone away meanwhile.
bool pauseUnlessGone(int fd, int milliseconds, const std::atomic<bool>& stopping) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!stopping && std::chrono::steady_clock::now() < until) {
        pollfd entry{fd, POLLRDHUP, 0};
        if (::poll(&entry, 1, kPollSliceMs) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) {
            return false;
        }
    }
    return !stopping;
}

} // namespace

ScriptedKeyboard::ScriptedKeyboard(Script script, Identity identity)
    : identity_(identity), folder_(makeFolder()), script_(std::move(script)) {
    socketPath_ = folder_ + "/keyboard.sock";
    entry_ = hex4(identity_.vendorId) + ":" + hex4(identity_.productId) + ":" +
             std::to_string(identity_.interfaceNumber) + "=" + socketPath_;

    listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath_.c_str(), sizeof(address.sun_path) - 1);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_, 16) != 0) {
        std::fprintf(stderr, "scripted keyboard: cannot serve %s: %s\n", socketPath_.c_str(),
                     std::strerror(errno));
    }

    auto entries = splitList(std::getenv(kVirtualHidVariable));
    entries.push_back(entry_);
    setList(entries);

    server_ = std::thread([this] { serve(); });
}

ScriptedKeyboard::~ScriptedKeyboard() {
    stopping_ = true;
    server_.join();
    if (listener_ >= 0) {
        ::close(listener_);
    }
    ::unlink(socketPath_.c_str());
    ::rmdir(folder_.c_str());
    unregister();
}

void ScriptedKeyboard::unregister() {
    auto entries = splitList(std::getenv(kVirtualHidVariable));
    entries.erase(std::remove(entries.begin(), entries.end(), entry_), entries.end());
    setList(entries);
}

void ScriptedKeyboard::setScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
}

std::vector<ScriptedKeyboard::Payload> ScriptedKeyboard::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

bool ScriptedKeyboard::waitForReceived(std::size_t count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return receivedChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return received_.size() >= count; });
}

bool ScriptedKeyboard::waitForHangUp(int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return receivedChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return hungUp_; });
}

ScriptedKeyboard::Payload ScriptedKeyboard::payload(std::initializer_list<std::uint8_t> bytes) {
    Payload result{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), result.size()), result.begin());
    return result;
}

ScriptedKeyboard::Script ScriptedKeyboard::sendsNoKey() {
    return [](const Payload& request) {
        Answer answer;
        if (request[1] == 0xF9) {
            answer.replies.push_back(payload({0x00, 0xF9, 'Z', 'a', 'r', 'n'}));
        } else if (request[1] == 0xF2) {
            Payload end{};
            end.fill(0xF6);
            answer.replies.push_back(end);
        }
        return answer;
    };
}

void ScriptedKeyboard::serve() {
    while (listener_ >= 0 && waitReady(listener_, POLLIN, stopping_)) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        const bool hangUp = serveConnection(connection);
        ::close(connection);
        if (hangUp) {
            {
                std::lock_guard lock(mutex_);
                hungUp_ = true;
            }
            receivedChanged_.notify_all();
        }
    }
}

bool ScriptedKeyboard::serveConnection(int connection) {
    bool silent = false;
    while (waitReady(connection, POLLIN, stopping_)) {
        std::array<std::uint8_t, kHidReportSize> report{};
        const ssize_t size = ::recv(connection, report.data(), report.size(), 0);
        if (size <= 0) {
            return false;
        }
        Payload request{};
        std::copy(report.begin() + 1, report.begin() + std::max<ssize_t>(size, 1), request.begin());
        Script script;
        {
            std::lock_guard lock(mutex_);
            received_.push_back(request);
            script = script_;
        }
        receivedChanged_.notify_all();
        if (silent || !script) {
            continue;
        }
        const Answer answer = script(request);
        for (const Payload& reply : answer.replies) {
            if (!sendPayload(connection, reply, stopping_)) {
                return false;
            }
        }
        for (const std::vector<std::uint8_t>& message : answer.messages) {
            if (!sendMessage(connection, message.data(), message.size(), stopping_)) {
                return false;
            }
        }
        switch (answer.then) {
        case Answer::Then::Listen:
            break;
        case Answer::Then::Silence:
            silent = true;
            break;
        case Answer::Then::HangUp:
            return true;
        case Answer::Then::Flood:
            while (sendPayload(connection, answer.flood, stopping_)) {
            }
            return false;
        case Answer::Then::Trickle:
            while (pauseUnlessGone(connection, answer.floodIntervalMs, stopping_) &&
                   sendPayload(connection, answer.flood, stopping_)) {
            }
            return false;
        }
    }
    return false;
}
