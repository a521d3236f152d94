#include "tools/zarn-sim/SimKeyboard.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

// Payload offsets of a table entry.
constexpr std::size_t kEntryLayer = 2;
constexpr std::size_t kEntryKey = 3;
constexpr std::size_t kEntryType = 4;
constexpr std::size_t kNormalCount = 5;
constexpr std::size_t kMacroLengthHigh = 9;
constexpr std::size_t kMacroLengthLow = 10;
constexpr std::uint8_t kLastMacroType = 4;
constexpr std::uint8_t kFirstMacroType = 2;

// Offsets of a light or counter chunk.
constexpr std::size_t kChunkCount = 2;
constexpr std::size_t kChunkData = 3;

std::optional<int> slotOf(const Payload& entry) {
    const int layer = entry[kEntryLayer];
    const int key = entry[kEntryKey];
    if (layer < 1 || layer > kSimLayers || key < 1 || key > kSimKeysPerLayer) {
        return std::nullopt;
    }
    return (layer - 1) * kSimKeysPerLayer + key - 1;
}

bool isMacro(const Payload& entry) {
    return entry[kEntryType] >= kFirstMacroType && entry[kEntryType] <= kLastMacroType;
}

std::size_t macroChunks(const Payload& entry) {
    const std::size_t dataBytes = entry[kMacroLengthHigh] << 8 | entry[kMacroLengthLow];
    return std::max<std::size_t>(1, (dataBytes + kMacroChunkData - 1) / kMacroChunkData);
}

Report filledReport(std::uint8_t value) {
    Report report{};
    std::fill(report.begin() + 1, report.end(), value);
    return report;
}

// Light and counter areas travel in chunks of 61 bytes: 00 marker n data...
void appendAreaChunks(std::span<const std::uint8_t> area, std::uint8_t marker, std::vector<Report>& out) {
    for (std::size_t position = 0; position < area.size(); position += kAreaChunkData) {
        const std::size_t n = std::min(kAreaChunkData, area.size() - position);
        Payload payload{};
        payload[1] = marker;
        payload[kChunkCount] = static_cast<std::uint8_t>(n);
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(position), n, payload.begin() + kChunkData);
        out.push_back(reportFromPayload(payload));
    }
    out.push_back(filledReport(SimCommand::AreaEnd));
}

} // namespace

SimKeyboard::SimKeyboard(std::string versionText, const CounterArea& counters)
    : versionText_(std::move(versionText)), counters_(counters) {}

void SimKeyboard::restore(SimMemory memory, bool keepVersion) {
    memory_ = std::move(memory);
    if (!keepVersion && !memory_.updatedVersion.empty()) {
        versionText_ = memory_.updatedVersion;
    }
}

SimKeyboard::Outcome SimKeyboard::handle(std::span<const std::uint8_t> message, Session& session) {
    Outcome outcome;
    if (message.size() != kReportSize || message[0] != 0) {
        return outcome;
    }
    Payload payload;
    std::copy(message.begin() + 1, message.end(), payload.begin());

    if (session.macro) {
        if (continuesMacro(session, payload)) {
            session.macro->chunks.push_back(payload);
            if (session.macro->chunks.size() == session.macro->chunksExpected) {
                (*session.table)[session.macro->slot] = std::move(session.macro->chunks);
                session.macro.reset();
            }
            return outcome;
        }
        // A macro cut short by anything else is not stored: half a macro would play garbage.
        session.macro.reset();
    }

    switch (payload[1]) {
    case SimCommand::Version:
        replyVersion(outcome);
        break;
    case SimCommand::TableBegin:
        session.table.emplace();
        break;
    case SimCommand::TableEntry:
        storeEntry(session, payload);
        break;
    case SimCommand::TableEnd:
        endTable(session, outcome);
        break;
    case SimCommand::TableRead:
        replyTable(outcome);
        break;
    case SimCommand::LightBegin:
        beginLights(session);
        break;
    case SimCommand::LightChunk:
        storeLightChunk(session, payload);
        break;
    case SimCommand::AreaEnd:
        endLights(session, outcome);
        break;
    case SimCommand::LightRead:
        replyLights(outcome);
        break;
    case SimCommand::CounterRead:
        replyCounters(outcome);
        break;
    case SimCommand::FirmwareRecord:
        storeFirmwareRecord(payload, outcome);
        break;
    default:
        break;
    }
    return outcome;
}

bool SimKeyboard::continuesMacro(const Session& session, const Payload& payload) {
    const Payload& first = session.macro->chunks.front();
    return payload[1] == SimCommand::TableEntry && payload[kEntryLayer] == first[kEntryLayer] &&
           payload[kEntryKey] == first[kEntryKey] && payload[kEntryType] == first[kEntryType];
}

void SimKeyboard::storeEntry(Session& session, const Payload& payload) {
    const auto slot = slotOf(payload);
    if (!session.table || !slot || payload[kEntryType] > kLastMacroType) {
        return;
    }
    auto& stored = (*session.table)[*slot];
    stored.clear();
    const bool empty = payload[kEntryType] == 0 && payload[kNormalCount] == 0;
    if (empty) {
        return;
    }
    if (isMacro(payload) && macroChunks(payload) > 1) {
        session.macro = Session::PendingMacro{*slot, macroChunks(payload), {payload}};
        return;
    }
    stored.push_back(payload);
}

void SimKeyboard::endTable(Session& session, Outcome& outcome) {
    if (!session.table) {
        return;
    }
    memory_.slots = std::move(*session.table);
    session.table.reset();
    outcome.memoryChanged = true;
}

void SimKeyboard::beginLights(Session& session) const {
    session.lights = memory_.lights;
    session.lightPosition = 0;
}

void SimKeyboard::storeLightChunk(Session& session, const Payload& payload) {
    if (!session.lights) {
        return;
    }
    // A count beyond the payload or the area is cut to what exists on both sides.
    const std::size_t room = kLightAreaSize - session.lightPosition;
    const std::size_t n = std::min({std::size_t{payload[kChunkCount]}, kAreaChunkData, room});
    std::copy_n(payload.begin() + kChunkData, n,
                session.lights->begin() + static_cast<std::ptrdiff_t>(session.lightPosition));
    session.lightPosition += n;
}

void SimKeyboard::endLights(Session& session, Outcome& outcome) {
    if (!session.lights) {
        return;
    }
    memory_.lights = *session.lights;
    session.lights.reset();
    outcome.memoryChanged = true;
}

void SimKeyboard::storeFirmwareRecord(const Payload& payload, Outcome& outcome) {
    const auto summary = firmware_.addRecord(std::span(payload).subspan(2, kFirmwareRecordBytes));
    if (!summary) {
        return;
    }
    outcome.notes.push_back(summary->describe());
    if (summary->broken) {
        return;
    }
    // The keyboard restarts into the new firmware with its factory key table
    // and dark lights, as a keyboard does whose update erases its settings;
    // only the counters survive.  What the host wanted kept, it must write
    // back.
    if (factory_) {
        memory_.slots = factory_->slots;
        memory_.lights = factory_->lights;
        outcome.notes.push_back("key table and lights reset to the factory layout");
    }
    versionText_ = bumpedVersion(versionText_);
    memory_.updatedVersion = versionText_;
    outcome.memoryChanged = true;
    outcome.notes.push_back("restarted with firmware \"" + versionText_ + "\"");
}

void SimKeyboard::replyVersion(Outcome& outcome) const {
    Payload payload{};
    payload[1] = SimCommand::Version;
    const std::size_t n = std::min(versionText_.size(), kPayloadSize - 2);
    std::copy_n(versionText_.begin(), n, payload.begin() + 2);
    outcome.replies.push_back(reportFromPayload(payload));
}

void SimKeyboard::replyTable(Outcome& outcome) const {
    for (const auto& chunks : memory_.slots) {
        for (const auto& chunk : chunks) {
            outcome.replies.push_back(reportFromPayload(chunk));
        }
    }
    // The keyboard marks the end at payload offset 0.
    outcome.replies.push_back(filledReport(SimCommand::TableEnd));
}

void SimKeyboard::replyLights(Outcome& outcome) const {
    appendAreaChunks(memory_.lights, SimCommand::LightChunk, outcome.replies);
}

void SimKeyboard::replyCounters(Outcome& outcome) const {
    std::array<std::uint8_t, kCounterAreaSize> area{};
    for (std::size_t key = 0; key < counters_.size(); ++key) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            area[4 * key + byte] = static_cast<std::uint8_t>(counters_[key] >> (8 * byte));
        }
    }
    appendAreaChunks(area, SimCommand::CounterRead, outcome.replies);
}

std::string bumpedVersion(const std::string& text) {
    const auto last =
        std::find_if(text.rbegin(), text.rend(), [](unsigned char c) { return std::isdigit(c); });
    if (last == text.rend()) {
        return text + " updated";
    }
    const auto end = static_cast<std::size_t>(text.rend() - last);
    std::size_t begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(text[begin - 1]))) {
        --begin;
    }
    std::string digits = text.substr(begin, end - begin);
    // Increment in place so "09" becomes "10" and "99" becomes "100".
    std::size_t i = digits.size();
    while (i > 0) {
        --i;
        if (digits[i] != '9') {
            ++digits[i];
            return text.substr(0, begin) + digits + text.substr(end);
        }
        digits[i] = '0';
    }
    return text.substr(0, begin) + "1" + digits + text.substr(end);
}
