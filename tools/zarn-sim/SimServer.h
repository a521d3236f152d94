#pragma once

#include "platform/UniqueFd.h"
#include "tools/zarn-sim/SimKeyboard.h"
#include "tools/zarn-sim/SimTrace.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SimServerOptions {
    std::string socketPath;
    // Empty: the memory lives only as long as the server.
    std::string statePath;
    std::string tracePath;
    // The period of the keyboard's endpoints, as a USB interrupt endpoint
    // paces its reports: every reply goes out this long after the one
    // before it, and one host report is taken per period.  Zero takes and
    // answers everything at once.
    std::chrono::microseconds latency{0};
    // Fault injection, counted over every message received since start:
    // after this many the keyboard stays connected but answers nothing more.
    std::optional<std::uint64_t> stopAfter;
    // After this many (and their replies) the keyboard is unplugged: every
    // connection is closed and the socket removed.
    std::optional<std::uint64_t> hangupAfter;
    // Notes such as "image complete: ..." also go to stderr.
    bool notesToStderr = true;
};

// Serves one simulated keyboard on a SOCK_SEQPACKET Unix socket: one message
// per report.  Several connections may be open at once (presence checks
// connect briefly); they share the one keyboard, and each gets the answers to
// its own requests.
class SimServer {
public:
    // Binds the socket, replacing a stale socket file but refusing one that
    // another keyboard serves or that is not a socket.  Null with a reason in
    // `error`.  The keyboard's memory is saved to the state file after every
    // completed write.
    static std::unique_ptr<SimServer> listen(SimKeyboard keyboard, SimServerOptions options,
                                             std::string* error);

    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;
    ~SimServer();

    // Serves until stop() or a hang-up.
    void run();
    // From any thread, also from a signal handler.
    void stop();

    bool hungUp() const { return hungUp_; }
    std::uint64_t messagesReceived() const { return received_; }
    const std::string& socketPath() const { return options_.socketPath; }

private:
    using Clock = std::chrono::steady_clock;

    struct PendingReply {
        Clock::time_point due;
        Report report;
        bool traced = false;
    };
    struct Client {
        UniqueFd fd;
        SimKeyboard::Session session;
        std::deque<PendingReply> replies;
        Clock::time_point lastDue{};
        // When the next host report may be taken, with a latency.
        Clock::time_point nextTake{};
        bool closed = false;
    };

    SimServer(SimKeyboard keyboard, SimServerOptions options);

    void acceptClients();
    // Number of messages handled; a whole turn's worth means more may be waiting.
    int readClient(Client& client);
    void drainClients();
    void handleMessage(Client& client, std::span<const std::uint8_t> message);
    void flushClient(Client& client, Clock::time_point now);
    void saveState();
    void note(const std::string& text);
    bool readyToHangUp() const;
    void hangUp();
    std::optional<Clock::time_point> nextDue(Clock::time_point now) const;
    bool takesNow(const Client& client, Clock::time_point now) const;

    SimKeyboard keyboard_;
    SimServerOptions options_;
    SimTrace trace_;
    UniqueFd listener_;
    UniqueFd wakeRead_;
    UniqueFd wakeWrite_;
    std::vector<std::unique_ptr<Client>> clients_;
    std::atomic<bool> stopRequested_ = false;
    std::atomic<bool> hungUp_ = false;
    std::atomic<std::uint64_t> received_ = 0;
    bool hangUpPending_ = false;
    bool socketBound_ = false;
};
