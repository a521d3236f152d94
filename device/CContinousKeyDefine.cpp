#include "device/CContinousKeyDefine.h"

#include <algorithm>

namespace {

constexpr int kValueOffset = 5;
constexpr int kCountOffset = 7;
constexpr int kCodesOffset = 8;

} // namespace

bool CContinousKeyDefine::encode(std::uint8_t* buffer, int blockSize, int& length) const {
    if (buffer == nullptr) {
        length = kPayloadSize;
        return true;
    }
    if (blockSize != kPayloadSize || length < kPayloadSize || codes.size() > kMaxCodes) {
        return false;
    }
    writeEntryHeader(buffer);
    // The keyboard reads an entry without codes as having no parameter either.
    if (codes.empty()) {
        return true;
    }
    buffer[kValueOffset] = static_cast<std::uint8_t>(value >> 8);
    buffer[kValueOffset + 1] = static_cast<std::uint8_t>(value);
    buffer[kCountOffset] = static_cast<std::uint8_t>(codes.size());
    std::transform(codes.begin(), codes.end(), buffer + kCodesOffset,
                   [](int code) { return static_cast<std::uint8_t>(code); });
    return true;
}

bool CContinousKeyDefine::decode(const std::uint8_t* buffer, int /*blockSize*/, int length) {
    if (buffer == nullptr || length < kPayloadSize) {
        return false;
    }
    value = buffer[kValueOffset] * 256 + buffer[kValueOffset + 1];
    const int count = std::min<int>(buffer[kCountOffset], kMaxCodes);
    codes.assign(buffer + kCodesOffset, buffer + kCodesOffset + count);
    return true;
}
