#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScriptedKeyboardIdentity {
    std::uint16_t vendorId = 0x0483;
    std::uint16_t productId = 0x5039;
    int interfaceNumber = 1;
};

// A keyboard in the test process: it serves a virtual-HID socket in a
// temporary folder, lists itself in ZARN_VIRTUAL_HID while it lives (after
// the keyboards already listed), records every report the host sends and
// answers each one from a script.
class ScriptedKeyboard {
public:
    using Payload = std::array<std::uint8_t, 64>;

    using Identity = ScriptedKeyboardIdentity;

    // What the keyboard does with one report of the host.
    struct Answer {
        enum class Then {
            Listen,  // wait for the next report
            Silence, // keep the connection, never answer again
            HangUp,  // close the connection
            Flood,   // send `flood` until the host goes away
            Trickle, // send `flood` every `floodIntervalMs` until the host goes away
        };
        std::vector<Payload> replies;
        Then then = Then::Listen;
        Payload flood{};
        int floodIntervalMs = 0;
        // Sent after `replies` exactly as they are, report id and all: a
        // message of any length.
        std::vector<std::vector<std::uint8_t>> messages{};
    };
    using Script = std::function<Answer(const Payload& request)>;

    explicit ScriptedKeyboard(Script script = {}, Identity identity = {});
    ~ScriptedKeyboard();
    ScriptedKeyboard(const ScriptedKeyboard&) = delete;
    ScriptedKeyboard& operator=(const ScriptedKeyboard&) = delete;

    void setScript(Script script);
    const std::string& socketPath() const { return socketPath_; }

    // Payloads of every report the host sent, in order (report id removed).
    std::vector<Payload> received() const;
    // Waits until the host has sent `count` reports; false after `timeoutMs`.
    bool waitForReceived(std::size_t count, int timeoutMs) const;

    // Waits until the keyboard has hung up on the host as its script said.
    bool waitForHangUp(int timeoutMs) const;

    // Builds a payload from its first bytes; the rest is zero.
    static Payload payload(std::initializer_list<std::uint8_t> bytes);

    // A keyboard that answers its version query and ends every key read
    // before the first key: it is there, but its layout cannot be read.
    static Script sendsNoKey();

private:
    void serve();
    // True when the keyboard hung up by script.
    bool serveConnection(int connection);
    void unregister();

    Identity identity_;
    std::string folder_;
    std::string socketPath_;
    std::string entry_;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    mutable std::condition_variable receivedChanged_;
    Script script_;
    std::vector<Payload> received_;
    bool hungUp_ = false;

    std::thread server_;
};
