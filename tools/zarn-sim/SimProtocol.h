#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The keyboard's side of the report protocol: one report is 65 bytes, byte 0
// the report id (always 0), bytes 1..64 the payload.  Offsets in payloads
// below are payload offsets.
inline constexpr std::size_t kReportSize = 65;
inline constexpr std::size_t kPayloadSize = 64;

using Report = std::array<std::uint8_t, kReportSize>;
using Payload = std::array<std::uint8_t, kPayloadSize>;

inline constexpr int kSimLayers = 2;
inline constexpr int kSimKeysPerLayer = 103;
inline constexpr int kSimSlots = kSimLayers * kSimKeysPerLayer;
inline constexpr std::size_t kLightAreaSize = 309;
inline constexpr std::size_t kCounterAreaSize = 412;

// Bytes of light or counter data one chunk carries (payload 3..63).
inline constexpr std::size_t kAreaChunkData = 61;
// Action data bytes carried by one macro chunk (payload 11..63).
inline constexpr std::size_t kMacroChunkData = 53;
// Converted firmware record bytes one report carries (payload 2..63).
inline constexpr std::size_t kFirmwareRecordBytes = 62;

namespace SimCommand {
inline constexpr std::uint8_t TableEntry = 0xF0;
inline constexpr std::uint8_t TableBegin = 0xF1;
inline constexpr std::uint8_t TableRead = 0xF2;
inline constexpr std::uint8_t TableEnd = 0xF6;
inline constexpr std::uint8_t LightChunk = 0xE0;
inline constexpr std::uint8_t LightBegin = 0xE1;
inline constexpr std::uint8_t LightRead = 0xE2;
inline constexpr std::uint8_t CounterRead = 0xE3;
inline constexpr std::uint8_t AreaEnd = 0xE6;
inline constexpr std::uint8_t Version = 0xF9;
inline constexpr std::uint8_t FirmwareRecord = 0x3A;
} // namespace SimCommand

inline Report reportFromPayload(const Payload& payload) {
    Report report{};
    for (std::size_t i = 0; i < kPayloadSize; ++i) {
        report[i + 1] = payload[i];
    }
    return report;
}
