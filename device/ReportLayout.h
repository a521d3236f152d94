#pragma once

#include <cstdint>

// Offsets are payload offsets: payload byte n travels as report byte n + 1
// behind the report id.
inline constexpr int kPayloadSize = 64;

inline constexpr int kKeysPerLayer = 103;
inline constexpr int kLayerCount = 2;
inline constexpr int kSlotCount = kKeysPerLayer * kLayerCount;

// Command bytes, at payload offset 1 unless noted.
inline constexpr std::uint8_t kBeginKeyTableCommand = 0xF1;
inline constexpr std::uint8_t kEntryCommand = 0xF0;
// From the keyboard the end marker stands at payload offset 0.
inline constexpr std::uint8_t kEndKeyTableCommand = 0xF6;
inline constexpr std::uint8_t kReadKeyTableCommand = 0xF2;
inline constexpr std::uint8_t kBeginLightCommand = 0xE1;
inline constexpr std::uint8_t kLightChunkCommand = 0xE0;
inline constexpr std::uint8_t kReadLightCommand = 0xE2;
// Also marks each chunk of counter data.
inline constexpr std::uint8_t kReadCountersCommand = 0xE3;
inline constexpr std::uint8_t kEndAreaCommand = 0xE6;
inline constexpr std::uint8_t kVersionCommand = 0xF9;
inline constexpr std::uint8_t kFirmwareRecordCommand = 0x3A;
