#include "device/COrvoUtil.h"
#include "device/FirmwareDownload.h"
#include "fuzz/device/FuzzConnection.h"

#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    long writes = 0;
    COrvoUtil transport(std::make_unique<FuzzConnection>(nullptr, 0, &writes));
    long lastProgress = 0;
    const WindowHandle window = WindowHandle::create([&](unsigned message, WPARAM wParam, LPARAM lParam) {
        const auto progress = static_cast<long>(wParam);
        if (message != UM_DEVICE_PROGRESS || lParam != 0 || progress <= lastProgress || progress > 150) {
            __builtin_trap();
        }
        lastProgress = progress;
    });
    const bool sent = downloadFirmware(transport, text.c_str(), text.size(), window);
    // With a transport that never fails, false means refused, and a refused
    // text must not have sent a single record.
    if (!sent && writes != 0) {
        __builtin_trap();
    }
    // A blank line may end the download early, so a finished download need
    // not have reached 150; it never goes past it (checked as it posts).
    return 0;
}
