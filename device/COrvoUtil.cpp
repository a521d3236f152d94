#include "device/COrvoUtil.h"

#include "device/KeyboardIdentity.h"
#include "device/ReportLayout.h"

#include <array>
#include <clocale>
#include <cwchar>
#include <locale.h>

namespace {

constexpr int kVersionOffset = 2;

// The user's locale from the environment, whether or not the program ever
// called setlocale: the keyboard's text is in "the system's 8-bit code page".
class EnvironmentLocale {
public:
    EnvironmentLocale() : locale_(::newlocale(LC_CTYPE_MASK, "", locale_t{})) {}
    ~EnvironmentLocale() {
        if (locale_ != locale_t{}) {
            ::freelocale(locale_);
        }
    }
    EnvironmentLocale(const EnvironmentLocale&) = delete;
    EnvironmentLocale& operator=(const EnvironmentLocale&) = delete;

    locale_t get() const { return locale_; }

private:
    locale_t locale_;
};

// Switches the calling thread to the environment's character set while it lives.
class ThreadLocaleScope {
public:
    ThreadLocaleScope() {
        static const EnvironmentLocale environment;
        if (environment.get() != locale_t{}) {
            previous_ = ::uselocale(environment.get());
        }
    }
    ~ThreadLocaleScope() {
        if (previous_ != locale_t{}) {
            ::uselocale(previous_);
        }
    }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t previous_{};
};

// A byte the character set cannot convert is taken as its own code point
// rather than dropped, so every byte keeps its position.
void convertVersion(const std::uint8_t* bytes, wchar_t* text) {
    const ThreadLocaleScope scope;
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
    const Transfer transfer(*this);
    if (!transfer) {
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
    HidFailure failure;
    auto connection = OpenHidDevice(*keyboard, &failure);
    return std::make_unique<COrvoUtil>(std::move(connection), std::move(failure));
}
