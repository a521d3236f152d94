#pragma once

#include "tools/zarn-sim/FirmwareLoader.h"
#include "tools/zarn-sim/SimMemory.h"
#include "tools/zarn-sim/SimProtocol.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The keyboard itself, without a transport: it takes one message from the
// host and says what it answers.  Anything it does not understand (a message
// that is not a 65-byte report with id 0, an unknown command, an entry for a
// key that does not exist, data outside a write) is ignored, like a keyboard.
class SimKeyboard {
public:
    struct Outcome {
        std::vector<Report> replies;
        // A write completed: the memory is worth saving.
        bool memoryChanged = false;
        // Lines for the operator ("image complete: ...").
        std::vector<std::string> notes;
    };

    // A write in progress belongs to the connection that started it, so a
    // second host (a version query from another program) cannot cut a macro
    // or a table in half.
    class Session {
    private:
        friend class SimKeyboard;
        struct PendingMacro {
            int slot = 0;
            std::size_t chunksExpected = 0;
            std::vector<Payload> chunks;
        };
        // A table or light write collects here and takes effect at its end
        // report, so an interrupted write leaves the keyboard's memory as it was.
        std::optional<decltype(SimMemory::slots)> table;
        std::optional<PendingMacro> macro;
        std::optional<decltype(SimMemory::lights)> lights;
        std::size_t lightPosition = 0;
    };

    SimKeyboard(std::string versionText, const CounterArea& counters);

    Outcome handle(std::span<const std::uint8_t> message, Session& session);
    // For a single host: one session of the keyboard's own.
    Outcome handle(std::span<const std::uint8_t> message) { return handle(message, ownSession_); }

    // What a completed firmware update leaves in the key table and the
    // lights: the keyboard restarts from its factory layout.  Without one
    // (a bare keyboard in a test) an update leaves them as they were.
    void setFactoryMemory(SimMemory memory) { factory_ = std::move(memory); }

    // Puts back what a state file held.  The version text it carries replaces
    // the current one unless `keepVersion` (an operator's explicit version).
    void restore(SimMemory memory, bool keepVersion);

    const SimMemory& memory() const { return memory_; }
    const std::string& versionText() const { return versionText_; }
    const CounterArea& counters() const { return counters_; }
    const FirmwareLoader& firmware() const { return firmware_; }

private:
    static bool continuesMacro(const Session& session, const Payload& payload);
    static void storeEntry(Session& session, const Payload& payload);
    void endTable(Session& session, Outcome& outcome);
    void beginLights(Session& session) const;
    static void storeLightChunk(Session& session, const Payload& payload);
    void endLights(Session& session, Outcome& outcome);
    void storeFirmwareRecord(const Payload& payload, Outcome& outcome);

    void replyVersion(Outcome& outcome) const;
    void replyTable(Outcome& outcome) const;
    void replyLights(Outcome& outcome) const;
    void replyCounters(Outcome& outcome) const;

    std::string versionText_;
    CounterArea counters_{};
    SimMemory memory_;
    FirmwareLoader firmware_;
    std::optional<SimMemory> factory_;
    Session ownSession_;
};

// The version text after a firmware download: the last number in it goes up
// by one, keeping its width ("Zarn V1.05" becomes "Zarn V1.06").
std::string bumpedVersion(const std::string& text);
