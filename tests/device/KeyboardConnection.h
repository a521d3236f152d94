#pragma once

#include "device/COrvo.h"
#include "device/COrvoUtil.h"
#include "platform/VirtualHid.h"
#include "tests/support/ScriptedKeyboard.h"

#include <map>
#include <vector>

// A mirror connected to a scripted keyboard over the virtual-HID socket.  The
// read time-out is short so that silent keyboards do not slow the suite.
struct KeyboardConnection {
    explicit KeyboardConnection(ScriptedKeyboard::Script script = {})
        : keyboard(std::move(script)), transport(OpenVirtualHid(keyboard.socketPath())), mirror(transport) {
        transport.setReadTimeoutMs(kShortTimeoutMs);
    }

    static constexpr int kShortTimeoutMs = 300;

    ScriptedKeyboard keyboard;
    COrvoUtil transport;
    COrvo mirror;
};

using Payloads = std::vector<ScriptedKeyboard::Payload>;

// Answers a request whose command byte (payload offset 1) is listed with its replies.
inline ScriptedKeyboard::Script answering(std::map<std::uint8_t, ScriptedKeyboard::Answer> answers) {
    return [answers = std::move(answers)](const ScriptedKeyboard::Payload& request) {
        const auto found = answers.find(request[1]);
        return found == answers.end() ? ScriptedKeyboard::Answer{} : found->second;
    };
}

inline ScriptedKeyboard::Answer replies(Payloads payloads) {
    ScriptedKeyboard::Answer answer;
    answer.replies = std::move(payloads);
    return answer;
}
