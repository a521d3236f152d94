#include "tools/zarnctl/Zarnctl.h"

#include "model/Catalogue.h"
#include "tools/zarn-sim/EmbeddedSimulator.h"
#include "tools/zarnctl/CliCommands.h"
#include "tools/zarnctl/ExitStatus.h"

#include <iomanip>
#include <memory>
#include <string_view>

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    const char* summary;
    const char* help;
    int (*run)(CliRequest&);
    bool writes = false;
};

// A keyboard takes a write without answering: a write first asks it for its
// version, and --verify reads back what it holds.
constexpr const char* kWriteHelp =
    "A keyboard that does not answer a version query first is not written.\n"
    "  --verify  read back what the keyboard holds and name every key that differs";

constexpr Command kCommands[] = {
    {"list", "list [--json]", "the keyboards present; the first is used",
     "Lists the keyboards of the family that are present: model name, ModelType and path.\n"
     "The first one listed is the one every other command uses.\n"
     "  --json  print one JSON object instead",
     RunList},
    {"version", "version", "the keyboard's version text", "Prints the keyboard's version text.", RunVersion},
    {"counters", "counters [--json]", "key-press counters, most and least used key",
     "Reads the key-press counters and prints every key's label and count, then the most and\n"
     "the least used key (a key never pressed is neither).\n"
     "  --json  print one JSON object instead",
     RunCounters},
    {"show", "show [--layer 0|1] [--json]", "every key's assignment as the keyboard holds it",
     "Reads the keyboard's keys and prints, per key, its label, type and assignment.\n"
     "  --layer N  0 the top layer (default), 1 the Fn layer\n"
     "  --json     print one JSON object instead",
     RunShow},
    {"reset", "reset [--verify]", "write the factory assignment to the keyboard",
     "Writes the factory assignment of the keyboard's model to the keyboard.", RunReset, true},
    {"read-keys", "read-keys [--force] PROFILE.pro", "read keys and colours into a profile",
     "Reads the keys and then the colours from the keyboard and saves them as a profile, and says\n"
     "how many of them the keyboard sent. A keyboard that sent no key at all does not overwrite an\n"
     "existing profile.\n"
     "  --force  overwrite it all the same",
     RunReadKeys},
    {"write-keys", "write-keys [--verify] PROFILE.pro", "write a profile's keys to the keyboard",
     "Opens a profile of the keyboard's model and writes its keys.", RunWriteKeys, true},
    {"write-lights", "write-lights [--verify] PROFILE.pro", "write a profile's colours to the keyboard",
     "Opens a profile of the keyboard's model and writes its key colours (ZarnRGB.BT and ZarnRGB;\n"
     "the other models have no backlight).",
     RunWriteLights, true},
    {"defaults", "defaults PROFILE.pro", "save the factory profile (keyboard untouched)",
     "Saves the factory profile of the keyboard's model; the keyboard is not touched.", RunDefaults},
    {"flash", "flash [--force] FIRMWARE", "download Intel HEX firmware",
     "Downloads an Intel HEX firmware file into the keyboard. The file name must begin with the\n"
     "model's prefix (for example Zarn_ for a Zarn).\n"
     "  --force  download a file whose name does not match the model",
     RunFlash},
};

constexpr std::size_t kSynopsisWidth = 26;

constexpr const char* kExitHelp =
    "Exit status: 0 done, 1 the device operation failed (or --verify found a difference),\n"
    "2 usage, 3 no keyboard or one that cannot be used now (permission denied, busy with\n"
    "another program, gone), 4 a profile that cannot be read or written or belongs to another\n"
    "model, a firmware file refused, or colours for a model without a backlight.\n";

void printUsage(std::ostream& stream) {
    stream << "Usage: zarnctl [--simulate[=MODEL]] COMMAND [ARGS]\n"
              "       zarnctl --help | --version\n\n"
              "Commands:\n";
    for (const Command& command : kCommands) {
        // A long synopsis puts its summary on a line of its own.
        const std::string synopsis = command.synopsis;
        stream << "  " << std::left << std::setw(kSynopsisWidth) << synopsis;
        if (synopsis.size() >= kSynopsisWidth) {
            stream << '\n' << std::string(2 + kSynopsisWidth, ' ');
        }
        stream << command.summary << '\n';
    }
    stream << "\n  --simulate[=MODEL]  run a simulated keyboard inside zarnctl (MODEL one of ZarnRGB.BT,\n"
              "                      ZarnBT, Zarn, ZarnRGB; default "
           << kDefaultSimulatedModel
           << "); it keeps its memory\n"
              "                      between runs\n"
              "  COMMAND --help      the command's own help\n\n"
           << kExitHelp;
}

void printCommandHelp(const Command& command, std::ostream& stream) {
    stream << "Usage: zarnctl [--simulate[=MODEL]] " << command.synopsis << "\n\n"
           << command.help << '\n'
           << (command.writes ? kWriteHelp : "") << (command.writes ? "\n\n" : "\n") << kExitHelp;
}

const Command* findCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

int usageError(std::ostream& err, const std::string& message) {
    err << "zarnctl: " << message << "\nTry 'zarnctl --help'.\n";
    return kExitUsage;
}

} // namespace

int RunZarnctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool errIsTerminal) {
    std::size_t next = 0;
    std::string simulatedModel;
    bool simulate = false;
    for (; next < args.size() && args[next].starts_with("-"); ++next) {
        const std::string& option = args[next];
        if (isHelp(option)) {
            printUsage(out);
            return kExitDone;
        }
        if (option == "--version") {
            out << "zarnctl " << ZARN_VERSION << '\n';
            return kExitDone;
        }
        if (option == "--simulate") {
            simulate = true;
            simulatedModel = kDefaultSimulatedModel;
        } else if (option.starts_with("--simulate=")) {
            simulate = true;
            simulatedModel = option.substr(std::string_view("--simulate=").size());
            if (ModelTypeFromName(simulatedModel) == 0) {
                return usageError(err, "unknown model '" + simulatedModel + "'");
            }
        } else {
            return usageError(err, "unknown option '" + option + "'");
        }
    }
    if (next == args.size()) {
        printUsage(err);
        return kExitUsage;
    }
    const Command* command = findCommand(args[next]);
    if (command == nullptr) {
        return usageError(err, "unknown command '" + args[next] + "'");
    }
    CliRequest request{command->name,
                       {args.begin() + static_cast<std::ptrdiff_t>(next) + 1, args.end()},
                       out,
                       err,
                       errIsTerminal};
    for (const std::string& arg : request.args) {
        if (isHelp(arg)) {
            printCommandHelp(*command, out);
            return kExitDone;
        }
    }

    // The simulated keyboard must outlive the command: it is the keyboard.
    std::unique_ptr<EmbeddedSimulator> simulator;
    if (simulate) {
        std::string reason;
        simulator = EmbeddedSimulator::start(simulatedModel, &reason);
        if (!simulator) {
            err << "zarnctl: the simulated keyboard could not start: " << reason << '\n';
            return kExitNoKeyboard;
        }
    }
    return command->run(request);
}
