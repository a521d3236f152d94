#pragma once

#include "tools/zarnctl/CliCommands.h"
#include "tools/zarnctl/CliKeyboard.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class ConfigDocument;
struct ProfileResult;

// What the commands share: how they word reads, refusals and profile
// problems, and how they move keys with a progress bar.

// "read 111 of 206 keys" and the like.
std::string keysTally(const ConfigDocument& doc);
std::string coloursTally(const ConfigDocument& doc);
std::string countersTally(const ConfigDocument& doc);

// The light and counter areas always come whole from a keyboard that is
// well; the rest of a short one would be what the mirror held before.
bool coloursComplete(const ConfigDocument& doc);
bool countersComplete(const ConfigDocument& doc);

// Says what was wrong with the command line; the exit status for it.
int commandUsage(const CliRequest& request, const std::string& message);
// The one operand of a command; nothing (and the usage said) otherwise.
std::optional<std::string> singleOperand(const CliRequest& request, const std::vector<std::string>& operands,
                                         const char* what);
std::string profileProblem(const ProfileResult& result, const std::string& path, const char* model);

// Key transfers with a progress bar on the error stream; a transient bar
// leaves nothing behind once the read has gone through.
bool readKeys(CliKeyboard& keyboard, const CliRequest& request, bool transient = false);
bool writeKeys(CliKeyboard& keyboard, const CliRequest& request);

// The keys and the colours read as the commands read them: a read that
// fails, or colours that come short, are said with what the read brought
// and why.  The exit status.
int readKeysOrSay(CliKeyboard& keyboard, const CliRequest& request, bool transient = false);
int readColoursOrSay(CliKeyboard& keyboard, const CliRequest& request);

// An option without a value and the flag it sets.
struct CommandSwitch {
    const char* name;
    bool* set;
};
// Sets the switches among the arguments and gives the rest, the operands;
// nothing (and the usage said) for any other option.
std::optional<std::vector<std::string>> switchesAndOperands(const CliRequest& request,
                                                            std::initializer_list<CommandSwitch> switches);

// The options of a write command: --verify and the operands.
struct WriteOptions {
    bool verify = false;
    std::vector<std::string> operands;
};
std::optional<WriteOptions> writeOptions(const CliRequest& request);

// Read back what was just written and name what differs; the exit status.
int verifyKeys(CliKeyboard& keyboard, const CliRequest& request);
int verifyLights(CliKeyboard& keyboard, const CliRequest& request);

// Detects the keyboard and opens the profile for its model; the exit status.
int loadProfileFor(CliKeyboard& keyboard, const std::string& path, std::ostream& err);

// Opens a profile of whichever model it belongs to, no keyboard needed; the
// exit status.
int loadAnyProfile(CliKeyboard& keyboard, const std::string& path, std::ostream& err);
