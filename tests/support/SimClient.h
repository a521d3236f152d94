#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The host's end of a virtual-HID socket, byte for byte: tests drive a
// simulated keyboard through it with raw reports.
class SimClient {
public:
    using Message = std::vector<std::uint8_t>;

    SimClient() = default;
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;
    ~SimClient();

    bool connect(const std::string& socketPath);
    void close();

    // One message exactly as given.
    bool send(std::span<const std::uint8_t> message);
    // A 65-byte report: id 0, then `payload`, then zeros.
    bool sendPayload(std::initializer_list<std::uint8_t> payload);
    bool sendPayload(std::span<const std::uint8_t> payload);

    // The next message, or nothing when none comes in time or the peer hung up.
    std::optional<Message> receive(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
    // Messages until one whose payload byte `offset` is `marker` (included).
    // Nothing when a message fails to arrive first, or after `limit` messages.
    std::optional<std::vector<Message>> receiveThrough(std::size_t offset, std::uint8_t marker,
                                                       std::size_t limit = 100000);
    // True when the keyboard closed the connection within the time.
    bool waitForHangUp(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

private:
    int fd_ = -1;
};

// A report from its payload: id 0, `payload`, zeros.
SimClient::Message simReport(std::initializer_list<std::uint8_t> payload);
