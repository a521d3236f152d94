#include "tests/support/SimClient.h"

#include <algorithm>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::size_t kReportSize = 65;

} // namespace

SimClient::~SimClient() {
    close();
}

bool SimClient::connect(const std::string& socketPath) {
    close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        return false;
    }
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close();
        return false;
    }
    return true;
}

void SimClient::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool SimClient::send(std::span<const std::uint8_t> message) {
    return fd_ >= 0 &&
           ::send(fd_, message.data(), message.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(message.size());
}

bool SimClient::sendPayload(std::initializer_list<std::uint8_t> payload) {
    return sendPayload(std::span(payload.begin(), payload.size()));
}

bool SimClient::sendPayload(std::span<const std::uint8_t> payload) {
    Message report(kReportSize, 0);
    std::copy_n(payload.begin(), std::min(payload.size(), kReportSize - 1), report.begin() + 1);
    return send(report);
}

std::optional<SimClient::Message> SimClient::receive(std::chrono::milliseconds timeout) {
    if (fd_ < 0) {
        return std::nullopt;
    }
    pollfd fd{fd_, POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) {
        return std::nullopt;
    }
    Message message(256);
    const auto n = ::recv(fd_, message.data(), message.size(), 0);
    if (n <= 0) {
        return std::nullopt;
    }
    message.resize(static_cast<std::size_t>(n));
    return message;
}

std::optional<std::vector<SimClient::Message>>
SimClient::receiveThrough(std::size_t offset, std::uint8_t marker, std::size_t limit) {
    std::vector<Message> messages;
    while (messages.size() < limit) {
        auto message = receive();
        if (!message) {
            return std::nullopt;
        }
        messages.push_back(std::move(*message));
        const auto& last = messages.back();
        if (last.size() > offset + 1 && last[offset + 1] == marker) {
            return messages;
        }
    }
    return std::nullopt;
}

bool SimClient::waitForHangUp(std::chrono::milliseconds timeout) {
    if (fd_ < 0) {
        return true;
    }
    pollfd fd{fd_, POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) {
        return false;
    }
    char byte;
    return ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

SimClient::Message simReport(std::initializer_list<std::uint8_t> payload) {
    SimClient::Message report(kReportSize, 0);
    std::copy_n(payload.begin(), std::min(payload.size(), kReportSize - 1), report.begin() + 1);
    return report;
}
