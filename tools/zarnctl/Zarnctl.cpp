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
    // Replaces the common exit status text where a command's differs.
    const char* exitHelp = nullptr;
    // Another name the command answers to.
    const char* alias = nullptr;
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
    {"show", "show [--layer 0|1] [--json] [PROFILE]", "every key's assignment as the keyboard holds it",
     "Reads the keyboard's keys (or a profile's) and prints, per key, its label, type and\n"
     "assignment.\n"
     "  --layer N  0 the top layer (default), 1 the Fn layer\n"
     "  --json     print one JSON object instead: both layers (only N with --layer), every key's\n"
     "             type and values as set takes them back, and the colours of a model with a\n"
     "             backlight; zarnctl show --json | jq ... | zarnctl set PROFILE --json -",
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
    {"flash", "flash [--force] [--no-restore] FIRMWARE", "download Intel HEX firmware, keeping the layout",
     "Downloads an Intel HEX firmware file into the keyboard. The file name must begin with the\n"
     "model's prefix (for example Zarn_ for a Zarn).\n"
     "An update may leave the keyboard with its factory layout: before the first record is sent,\n"
     "its keys and colours are read and saved as a profile in $XDG_STATE_HOME/zarn/backups/\n"
     "(~/.local/state/zarn/backups/; the newest 20 are kept), and after the download they are\n"
     "written back and checked. The backup's path is printed either way. When the layout cannot\n"
     "be read, nothing is downloaded.\n"
     "  --force       download a file whose name does not match the model, and download even\n"
     "                when the layout could not be backed up\n"
     "  --no-restore  keep the backup but do not write it back",
     RunFlash},
    {"set", "set [OPTIONS] PROFILE KEY TYPE [VALUE...]", "give a key an assignment (profile or keyboard)",
     "       zarnctl set --device [OPTIONS] KEY TYPE [VALUE...]\n"
     "       zarnctl set [--device] [PROFILE] --json FILE|-\n\n"
     "Gives one key an assignment by the rules of the program's key settings dialog, in a profile\n"
     "(saved in place; a profile that does not exist starts from the factory profile of --model,\n"
     "of the keyboard present, or of ZarnRGB.BT) or, with --device, on the keyboard (its keys are\n"
     "read, changed and written back).\n\n"
     "KEY    the key's label as the main window shows it: A, Caps Lock, KP/, F10, Fn. Shift, Ctrl\n"
     "       and Alt occur twice: Left Shift and Right Shift (or Shift#1 and Shift#2), and so on.\n"
     "       #N is key number N, and so is a plain number from 10 (0 to 9 are the number row).\n"
     "TYPE   single, combo, macro, emulation, multimedia, mouse, function, power or clear\n"
     "VALUE  names as the program shows them; case and spaces do not matter:\n"
     "  single      one key: A, F5, SPACEBAR, Caps Lock, Ctrl (the left one), Right Ctrl\n"
     "  combo       up to 6 keys joined by + or one word each: Ctrl+C, LWin E\n"
     "  emulation   up to 6 keys, one word each; --delay MS between them (0-6000, default 30)\n"
     "  macro       lines as the record list shows them: 'A Down' '<50 ms>' 'A UP'; recorded\n"
     "              delays alternate key and delay lines (at most 799 lines). With --delay MS\n"
     "              (0-60000) every step waits MS and the lines are keys only (at most 1600).\n"
     "              --cycles N: times played in play mode 0 (1-255, default 1); --play-mode M:\n"
     "              0 Times Play, 1 Press play, release stop, 2 Press to play/stop\n"
     "  multimedia  Mute, VolumeUp, Play/Pause, WWW Home, Calculator, ...\n"
     "  mouse       Mouse Left, Mouse Key Left, Left Double Click, Wheel Up, ...\n"
     "  function    FN (sets both layers of the key), Win Lock, Backlight Switch, ...\n"
     "  power       Wake Up, Sleep, Power\n"
     "  clear       no value: the key does nothing on that layer\n"
     "A device code without a name is #N. Numbers out of range are clamped as the dialog clamps\n"
     "them, and said so; a name that does not exist is refused with the closest names.\n"
     "  --layer N    0 the top layer (default), 1 the Fn layer\n"
     "  --model M    the model of a profile that does not exist yet\n"
     "  --device     change the keyboard instead of a profile\n"
     "  --verify     with --device: read back what the keyboard holds\n"
     "  --json FILE  every assignment and colour of FILE (- for standard input), in the form\n"
     "               show --json prints: zarnctl show --json | jq ... | zarnctl set PROFILE --json -",
     RunSet},
    {"colour", "colour [OPTIONS] PROFILE (KEY...|all) COLOUR", "give keys a backlight colour",
     "       zarnctl colour --device [--verify] (KEY...|all) COLOUR\n\n"
     "Gives keys a backlight colour, #RRGGBB (the # may be left out), in a profile or, with\n"
     "--device, on the keyboard (its colours are read, changed and written back). Only the\n"
     "ZarnRGB.BT and the ZarnRGB have a backlight. KEY as for set; all is every key.\n"
     "  --model M  the model of a profile that does not exist yet\n"
     "  --device   change the keyboard instead of a profile\n"
     "  --verify   with --device: read back what the keyboard holds",
     RunColour, false, nullptr, "color"},
    {"diff", "diff [--json] A.pro [B.pro]", "the keys in which two layouts differ",
     "Compares two profiles, or a profile with the keyboard, and prints the keys whose assignment\n"
     "or colour differs, in the words of the main window's status text:\n"
     "  --- a.pro (Zarn)\n"
     "  +++ keyboard (Zarn)\n"
     "  A (key 43)\n"
     "  - Top layer Key: Single A\n"
     "  + Top layer Key: Combo LCTRL | C\n"
     "Assignments are compared by what they make the keyboard do. Nothing is printed when the\n"
     "layouts are equal.\n"
     "  --json  print one JSON object instead",
     RunDiff, false,
     "Exit status: 0 equal, 1 different, 2 usage, 3 no keyboard, or one that could not be read,\n"
     "4 a profile that cannot be read or belongs to another model.\n"},
};

constexpr std::size_t kSynopsisWidth = 26;

constexpr const char* kExitHelp =
    "Exit status: 0 done, 1 the device operation failed (or --verify found a difference, or\n"
    "diff one), 2 usage (also a name or value set refuses), 3 no keyboard or one that cannot\n"
    "be used now (permission denied, busy with another program, gone), 4 a profile that cannot\n"
    "be read or written or belongs to another model, a firmware file refused, or colours for a\n"
    "model without a backlight.\n";

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
    // A help that starts with more usage lines continues the first.
    const bool moreUsage = std::string_view(command.help).starts_with(" ");
    stream << "Usage: zarnctl [--simulate[=MODEL]] " << command.synopsis << (moreUsage ? "\n" : "\n\n")
           << command.help << '\n'
           << (command.writes ? kWriteHelp : "") << (command.writes ? "\n\n" : "\n")
           << (command.exitHelp ? command.exitHelp : kExitHelp);
}

const Command* findCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (name == command.name || (command.alias && name == command.alias)) {
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
