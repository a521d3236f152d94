#include "device/COrvoUtil.h"

#include "device/KeyboardIdentity.h"
#include "device/ReportLayout.h"

#include <array>
#include <cwchar>

namespace {

constexpr int kVersionOffset = 2;

// The version is text in the locale's 8-bit character set.  A byte the
// locale cannot convert is taken as its own code point rather than dropped, so
// every byte keeps its position.
void convertVersion(const std::uint8_t* bytes, wchar_t* text) {
    std::mbstate_t state{};
    int in = 0;
    int out = 0;
    while (in < COrvoUtil::kVersionLength) {
        wchar_t wide = 0;
        const auto source = reinterpret_cast<const char*>(bytes + in);
        const std::size_t used =
            std::mbrtowc(&wide, source, static_cast<std::size_t>(COrvoUtil::kVersionLength - in), &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
            state = std::mbstate_t{};
            wide = static_cast<wchar_t>(bytes[in]);
            in += 1;
        } else {
            in += used == 0 ? 1 : static_cast<int>(used);
        }
        text[out++] = wide;
    }
    while (out < COrvoUtil::kVersionLength) {
        text[out++] = L'\0';
    }
}

} // namespace

bool COrvoUtil::readVersion(wchar_t* text) {
    if (text == nullptr) {
        return false;
    }
    std::array<std::uint8_t, kHidReportSize> request{};
    request[2] = kVersionCommand;
    if (!writeReport(request.data(), static_cast<int>(request.size()))) {
        return false;
    }
    std::array<std::uint8_t, kPayloadSize> reply{};
    int length = kPayloadSize;
    if (!readReport(reply.data(), length, readTimeoutMs())) {
        return false;
    }
    convertVersion(reply.data() + kVersionOffset, text);
    return true;
}

std::unique_ptr<COrvoUtil> openKeyboard() {
    const std::optional<HidDeviceInfo> keyboard = findKeyboard();
    if (!keyboard) {
        return nullptr;
    }
    return std::make_unique<COrvoUtil>(OpenHidDevice(*keyboard));
}
