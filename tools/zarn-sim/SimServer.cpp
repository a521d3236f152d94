#include "tools/zarn-sim/SimServer.h"

#include "tools/zarn-sim/SimStateFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace {

// Larger than any report, so an oversized message is seen (and ignored) whole.
constexpr std::size_t kReceiveBuffer = 256;
// Messages taken from one connection per wake-up, so one busy host cannot
// starve a presence check.
constexpr int kMessagesPerTurn = 64;
// More connections than any host opens; beyond it new ones are refused
// rather than running the process out of descriptors.
constexpr std::size_t kMaxClients = 64;

bool fillAddress(const std::string& path, sockaddr_un* address, std::string* error) {
    *address = {};
    address->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address->sun_path) {
        *error = "socket path \"" + path + "\" is empty or too long for a Unix socket";
        return false;
    }
    std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether a keyboard already serves the socket file: a stale file from a
// killed run refuses the connection and may be replaced.
bool socketServed(const sockaddr_un& address) {
    UniqueFd probe(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    return probe && ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool prepareSocketPath(const std::string& path, const sockaddr_un& address, std::string* error) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return true;
    }
    if (!S_ISSOCK(info.st_mode)) {
        *error = path + " exists and is not a socket";
        return false;
    }
    if (socketServed(address)) {
        *error = path + " is already served by another keyboard";
        return false;
    }
    ::unlink(path.c_str());
    return true;
}

timespec toTimespec(std::chrono::nanoseconds span) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return timespec{static_cast<time_t>(seconds.count()), static_cast<long>((span - seconds).count())};
}

} // namespace

SimServer::SimServer(SimKeyboard keyboard, SimServerOptions options)
    : keyboard_(std::move(keyboard)), options_(std::move(options)) {}

std::unique_ptr<SimServer> SimServer::listen(SimKeyboard keyboard, SimServerOptions options,
                                             std::string* error) {
    std::unique_ptr<SimServer> server(new SimServer(std::move(keyboard), std::move(options)));
    const std::string& path = server->options_.socketPath;
    sockaddr_un address;
    if (!fillAddress(path, &address, error) || !prepareSocketPath(path, address, error) ||
        !server->trace_.open(server->options_.tracePath, error)) {
        return nullptr;
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
        *error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return nullptr;
    }
    server->wakeRead_.reset(pipeFds[0]);
    server->wakeWrite_.reset(pipeFds[1]);
    server->listener_.reset(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!server->listener_ ||
        ::bind(server->listener_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        *error = "cannot serve " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    server->socketBound_ = true;
    if (::listen(server->listener_.get(), 16) != 0) {
        *error = "cannot listen on " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    return server;
}

SimServer::~SimServer() {
    clients_.clear();
    listener_.reset();
    if (socketBound_) {
        ::unlink(options_.socketPath.c_str());
    }
}

void SimServer::stop() {
    stopRequested_ = true;
    if (wakeWrite_) {
        const char byte = 1;
        [[maybe_unused]] const auto n = ::write(wakeWrite_.get(), &byte, 1);
    }
}

void SimServer::run() {
    std::vector<pollfd> fds;
    while (!stopRequested_ && !hungUp_) {
        const auto now = Clock::now();
        fds.clear();
        fds.push_back({wakeRead_.get(), POLLIN, 0});
        fds.push_back({listener_.get(), POLLIN, 0});
        for (const auto& client : clients_) {
            const bool due = !client->replies.empty() && client->replies.front().due <= now;
            // A connection whose next report is not due yet is left out of
            // the poll altogether: its hang-up would wake the loop at once
            // and keep it spinning until then.
            const bool takes = takesNow(*client, now);
            const int fd = takes || due ? client->fd.get() : -1;
            fds.push_back({fd, static_cast<short>((takes ? POLLIN : 0) | (due ? POLLOUT : 0)), 0});
        }
        const auto wake = nextDue(now);
        timespec timeout{};
        if (wake) {
            timeout = toTimespec(std::max(Clock::duration::zero(), *wake - now));
        }
        if (::ppoll(fds.data(), fds.size(), wake ? &timeout : nullptr, nullptr) < 0 && errno != EINTR) {
            note(std::string("poll failed: ") + std::strerror(errno));
            return;
        }
        if (fds[0].revents != 0) {
            char drain[64];
            while (::read(wakeRead_.get(), drain, sizeof drain) > 0) {
            }
        }
        if (fds[1].revents != 0) {
            acceptClients();
        }
        // Clients accepted just now are not in `fds` yet: they are polled next turn.
        const std::size_t polled = fds.size() - 2;
        for (std::size_t i = 0; i < polled; ++i) {
            Client& client = *clients_[i];
            if (fds[i + 2].revents & (POLLIN | POLLHUP | POLLERR)) {
                readClient(client);
            }
            if (!client.closed) {
                flushClient(client, Clock::now());
            }
        }
        std::erase_if(clients_, [](const auto& client) { return client->closed; });
        if (readyToHangUp()) {
            hangUp();
        }
    }
    if (stopRequested_ && !hungUp_) {
        drainClients();
    }
}

// A host that wrote and then ended (zarnctl, the program) has its last
// reports still queued on the socket: a keyboard takes them before it is
// switched off, so a finished write is never lost.
void SimServer::drainClients() {
    acceptClients();
    for (const auto& client : clients_) {
        while (!client->closed && readClient(*client) == kMessagesPerTurn) {
        }
    }
}

void SimServer::acceptClients() {
    while (true) {
        UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd) {
            return;
        }
        if (clients_.size() >= kMaxClients) {
            continue;
        }
        auto client = std::make_unique<Client>();
        client->fd = std::move(fd);
        clients_.push_back(std::move(client));
    }
}

bool SimServer::takesNow(const Client& client, Clock::time_point now) const {
    return options_.latency.count() == 0 || client.nextTake <= now;
}

int SimServer::readClient(Client& client) {
    std::array<std::uint8_t, kReceiveBuffer> buffer;
    // Paced, a keyboard takes one report per period and the rest wait in the
    // host's queue, so that the host's writes block as they would on a
    // real endpoint instead of finishing at socket speed.
    const bool paced = options_.latency.count() > 0 && !stopRequested_;
    if (paced && !takesNow(client, Clock::now())) {
        return 0;
    }
    const int limit = paced ? 1 : kMessagesPerTurn;
    for (int i = 0; i < limit; ++i) {
        const auto n = ::recv(client.fd.get(), buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return i;
        }
        if (n <= 0) {
            client.closed = true;
            return i;
        }
        const auto size = std::min(static_cast<std::size_t>(n), buffer.size());
        if (paced) {
            // On the grid of the previous takes while the host keeps the
            // queue full, so that late wake-ups of this loop do not add up;
            // after a pause the grid starts again from now.
            const auto now = Clock::now();
            const bool onGrid = now - client.nextTake < options_.latency;
            client.nextTake = (onGrid ? client.nextTake : now) + options_.latency;
        }
        handleMessage(client, std::span(buffer).first(size));
    }
    return limit;
}

void SimServer::handleMessage(Client& client, std::span<const std::uint8_t> message) {
    const auto count = ++received_;
    trace_.received(message);
    if (hangUpPending_ || (options_.stopAfter && count > *options_.stopAfter)) {
        return;
    }
    auto outcome = keyboard_.handle(message, client.session);
    for (const auto& text : outcome.notes) {
        note(text);
    }
    if (outcome.memoryChanged) {
        saveState();
    }
    const auto now = Clock::now();
    for (const auto& report : outcome.replies) {
        const auto due = std::max(now, client.lastDue) + options_.latency;
        client.lastDue = due;
        client.replies.push_back({due, report});
    }
    if (options_.hangupAfter && count >= *options_.hangupAfter) {
        hangUpPending_ = true;
    }
}

void SimServer::flushClient(Client& client, Clock::time_point now) {
    while (!client.replies.empty() && client.replies.front().due <= now) {
        auto& [due, report, traced] = client.replies.front();
        // Traced before it goes out, so whoever reads the reply finds its line already written.
        if (!traced) {
            trace_.sent(report);
            traced = true;
        }
        const auto n = ::send(client.fd.get(), report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        if (n < 0) {
            client.closed = true;
            return;
        }
        client.replies.pop_front();
    }
}

std::optional<SimServer::Clock::time_point> SimServer::nextDue(Clock::time_point now) const {
    // Replies already due wait for POLLOUT instead: a host that does not read
    // must not turn the wait into a busy loop.
    std::optional<Clock::time_point> earliest;
    for (const auto& client : clients_) {
        if (client->nextTake > now && (!earliest || client->nextTake < *earliest)) {
            earliest = client->nextTake;
        }
        if (client->replies.empty()) {
            continue;
        }
        const auto due = client->replies.front().due;
        if (due > now && (!earliest || due < *earliest)) {
            earliest = due;
        }
    }
    return earliest;
}

void SimServer::saveState() {
    if (options_.statePath.empty()) {
        return;
    }
    std::string error;
    if (!saveSimState(options_.statePath, keyboard_.memory(), &error)) {
        note(error);
    }
}

void SimServer::note(const std::string& text) {
    trace_.note(text);
    if (options_.notesToStderr) {
        std::cerr << "zarn-sim: " << text << '\n';
    }
}

bool SimServer::readyToHangUp() const {
    if (options_.hangupAfter && *options_.hangupAfter == 0) {
        return true;
    }
    return hangUpPending_ && std::all_of(clients_.begin(), clients_.end(),
                                         [](const auto& client) { return client->replies.empty(); });
}

void SimServer::hangUp() {
    note("hung up after " + std::to_string(received_.load()) + " reports");
    clients_.clear();
    listener_.reset();
    if (socketBound_) {
        ::unlink(options_.socketPath.c_str());
        socketBound_ = false;
    }
    hungUp_ = true;
}
