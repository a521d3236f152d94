#include "device/CNormalKeyDefine.h"

#include <algorithm>

namespace {

constexpr int kCountOffset = 5;
constexpr int kCodesOffset = 6;

} // namespace

bool CNormalKeyDefine::encode(std::uint8_t* buffer, int blockSize, int& length) const {
    if (buffer == nullptr) {
        length = kPayloadSize;
        return true;
    }
    if (blockSize != kPayloadSize || length < kPayloadSize || codes.size() > kMaxCodes) {
        return false;
    }
    writeEntryHeader(buffer);
    buffer[kCountOffset] = static_cast<std::uint8_t>(codes.size());
    std::transform(codes.begin(), codes.end(), buffer + kCodesOffset,
                   [](int code) { return static_cast<std::uint8_t>(code); });
    return true;
}

bool CNormalKeyDefine::decode(const std::uint8_t* buffer, int /*blockSize*/, int length) {
    if (buffer == nullptr || length < kPayloadSize) {
        return false;
    }
    // A count beyond the payload is the keyboard's mistake: keep what is there.
    const int count = std::min<int>(buffer[kCountOffset], kMaxCodes);
    codes.assign(buffer + kCodesOffset, buffer + kCodesOffset + count);
    return true;
}
