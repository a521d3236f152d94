#include "tests/support/ScriptedKeyboard.h"
#include "tests/tools/JsonChecker.h"
#include "tests/tools/ZarnctlFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct SetCase {
    std::vector<std::string> args; // after "set PROFILE"
    int status;
    const char* out;           // exactly
    const char* err = nullptr; // a part of it
};

TEST_F(ZarnctlTest, SetGivesEveryTypeByTheDialogsRules) {
    const std::string profile = path("p.pro");
    const CliRun created = zarnctl({"set", profile, "--model", "Zarn", "A", "single", "A"});
    ASSERT_EQ(created.status, 0) << created.err;
    EXPECT_EQ(created.err,
              "zarnctl set: " + profile + " is new: it starts from the factory profile of Zarn\n");

    const SetCase cases[] = {
        {{"A", "single", "B"}, 0, "A (key 43): Top layer Key: Single B\n"},
        {{"Caps Lock", "combo", "Ctrl+C"}, 0, "Caps Lock (key 42): Top layer Key: Combo LCTRL | C\n"},
        {{"F1", "macro", "A Down", "<50 ms>", "A UP", "--cycles", "300"},
         0,
         "F1 (key 2): Top layer Key: Macro A,50,A\n",
         "zarnctl set: cycles 300 is kept as 255\n"},
        {{"F2", "emulation", "A", "B", "--delay=7000"},
         0,
         "F2 (key 3): Top layer Key: Emulation A | B\n",
         "delay 7000 is kept as 6000"},
        {{"KP/", "multimedia", "Volume", "Up", "--layer", "1"},
         0,
         "KP/ (key 87): Fn layer Key: Multimedia VolumeUp\n"},
        {{"#9", "mouse", "Left Double Click"}, 0, "F8 (key 9): Top layer Key: Mouse Left Double Click\n"},
        {{"Right Alt", "function", "fn"},
         0,
         "Right Alt (key 71): Top layer Key: Function FN\nRight Alt (key 71): Fn layer Key: Function FN\n"},
        {{"50", "power", "Sleep"}, 0, "K (key 50): Top layer Key: Power Sleep\n"},
        {{"Esc", "clear", "--layer=1"}, 0, "Esc (key 1): Fn layer Key: Not set\n"},

        {{"Shift", "single", "A"},
         2,
         "",
         "'Shift' names more than one key: Left Shift (key 55), Right Shift (key 66)"},
        {{"A", "multimedia", "Mutte"}, 2, "", "'Mutte' is not a Multimedia name; close names: Mute"},
        {{"A", "combo", "A", "B", "C", "D", "E", "F", "G"}, 2, "", "a combo holds at most 6 keys, not 7"},
        {{"A", "macro", "A Down", "A UP"}, 2, "", "macro line 2 'A UP' must be a delay line"},
        {{"A", "keyboard", "A"}, 2, "", "'keyboard' is not a type"},
        {{"A", "combo", "A", "--cycles", "2"}, 2, "", "--cycles is for macros, not for combo"},
        {{"A", "single", "A", "--layer", "2"}, 2, "", "--layer needs 0 or 1"},
        {{"A", "single"}, 2, "", "single needs a name"},
        {{"A"}, 2, "", "set needs PROFILE KEY TYPE"},
    };
    for (const SetCase& c : cases) {
        std::vector<std::string> args{"set", profile};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::string before = readFile(profile);
        const CliRun run = zarnctl(args);
        SCOPED_TRACE(args[2] + " " + (args.size() > 3 ? args[3] : ""));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err != nullptr) {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        }
        if (c.status != 0) {
            EXPECT_EQ(readFile(profile), before) << "a refusal changes nothing";
        }
    }
    const CliRun shown = zarnctl({"show", profile, "--layer", "1"});
    EXPECT_EQ(lineOf(shown.out, " 71 "), " 71  Alt        Function   FN");
    EXPECT_EQ(lineOf(shown.out, "  1 "), "  1  Esc        Not set");
}

TEST_F(ZarnctlTest, ColourGivesKeysABacklightColour) {
    const std::string profile = path("c.pro");
    const CliRun some = zarnctl({"colour", "--model", "ZarnRGB", profile, "A", "Right Shift", "#ff8000"});
    ASSERT_EQ(some.status, 0) << some.err;
    EXPECT_EQ(some.out, "A (key 43): #FF8000\nRight Shift (key 66): #FF8000\n");
    const CliRun all = zarnctl({"color", profile, "all", "00ff00"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "All 103 keys: #00FF00\n");
    const CliRun shown = zarnctl({"show", "--json", profile});
    EXPECT_NE(shown.out.find("{\"key\": 66, \"label\": \"Shift\", \"colour\": \"#00FF00\"}"),
              std::string::npos)
        << shown.out;

    const std::string before = readFile(profile);
    for (const std::vector<std::string>& refused :
         {std::vector<std::string>{"colour", profile, "A", "#12345"},
          {"colour", profile, "Ctl", "#123456"},
          {"colour", profile, "#123456"}}) {
        EXPECT_EQ(zarnctl(refused).status, 2) << refused[2];
    }
    EXPECT_EQ(readFile(profile), before);

    const CliRun dark = zarnctl({"colour", "--model", "Zarn", path("z.pro"), "A", "#FFFFFF"});
    EXPECT_EQ(dark.status, 4);
    EXPECT_NE(dark.err.find("The Zarn has no backlight: no colours were set."), std::string::npos)
        << dark.err;
    EXPECT_FALSE(fs::exists(path("z.pro")));
}

TEST_F(ZarnctlTest, DiffNamesTheKeysThatDifferInTheWordsOfTheStatusText) {
    const std::string a = path("a.pro");
    const std::string b = path("b.pro");
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "defaults", a}).status, 0);
    ASSERT_EQ(zarnctl({"--simulate=ZarnRGB", "defaults", b}).status, 0);
    const CliRun same = zarnctl({"diff", a, b});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    ASSERT_EQ(zarnctl({"set", a, "F1", "macro", "A", "--delay", "20"}).status, 0);
    ASSERT_EQ(zarnctl({"set", b, "F1", "macro", "A", "--delay", "10"}).status, 0);
    ASSERT_EQ(zarnctl({"set", b, "A", "combo", "Ctrl+C"}).status, 0);
    ASSERT_EQ(zarnctl({"colour", b, "A", "#010203"}).status, 0);
    // Only what the keyboard would be sent counts: the stale code of an unset key does not.
    ASSERT_EQ(zarnctl({"set", b, "B", "single", "C"}).status, 0);
    ASSERT_EQ(zarnctl({"set", b, "B", "clear"}).status, 0);
    ASSERT_EQ(zarnctl({"set", a, "B", "clear"}).status, 0);

    const CliRun text = zarnctl({"diff", a, b});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "--- " + a + " (ZarnRGB)\n+++ " + b + " (ZarnRGB)\n" +
                            "F1 (key 2)\n"
                            "- Top layer Key: Macro A [1 lines, cycles 1, play mode 0, delay 20 ms]\n"
                            "+ Top layer Key: Macro A [1 lines, cycles 1, play mode 0, delay 10 ms]\n"
                            "A (key 43)\n"
                            "- Top layer Key: Single A\n"
                            "+ Top layer Key: Combo LCTRL | C\n"
                            "- Colour: #000000\n"
                            "+ Colour: #010203\n");

    const CliRun json = zarnctl({"diff", "--json", a, b});
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(JsonChecker(json.out).valid()) << json.out;
    EXPECT_NE(json.out.find("\"equal\": false"), std::string::npos);
    EXPECT_NE(json.out.find(
                  "{\"key\": 43, \"label\": \"A\", \"what\": \"assignment\", \"layer\": 0, \"a\": "
                  "{\"type\": \"Single\", \"assignment\": \"A\", \"status\": \"Top layer Key: Single A\"}"),
              std::string::npos)
        << json.out;
    EXPECT_NE(
        json.out.find("{\"key\": 43, \"label\": \"A\", \"what\": \"colour\", \"a\": \"#000000\", \"b\": "
                      "\"#010203\"}"),
        std::string::npos)
        << json.out;

    ASSERT_EQ(zarnctl({"--simulate=Zarn", "defaults", path("z.pro")}).status, 0);
    const CliRun models = zarnctl({"diff", a, path("z.pro")});
    EXPECT_EQ(models.status, 1);
    EXPECT_EQ(models.out.rfind("--- " + a + " (ZarnRGB)\n+++ " + path("z.pro") + " (Zarn)\n", 0), 0u)
        << models.out;
    EXPECT_EQ(zarnctl({"diff", a, path("missing.pro")}).status, 4);
    EXPECT_EQ(zarnctl({"diff"}).status, 2);
}

// The scenario of a script: edit a profile, write it, and ask whether the
// keyboard holds it; the answer is silence.
TEST_F(ZarnctlTest, DiffAgainstTheKeyboardIsQuietAfterAWrite) {
    const std::string profile = path("f.pro");
    ASSERT_EQ(zarnctl({"set", profile, "A", "combo", "Ctrl+C"}).status, 0);
    ASSERT_EQ(zarnctl({"--simulate", "write-keys", profile}).status, 0);
    const CliRun quiet = zarnctl({"--simulate", "diff", profile});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");

    ASSERT_EQ(zarnctl({"--simulate", "set", "--device", "A", "single", "B"}).status, 0);
    ASSERT_EQ(zarnctl({"--simulate", "colour", "--device", "Esc", "#FF0000"}).status, 0);
    const CliRun changed = zarnctl({"--simulate", "diff", profile});
    EXPECT_EQ(changed.status, 1);
    EXPECT_EQ(changed.out, "--- " + profile + " (ZarnRGB.BT)\n+++ keyboard (ZarnRGB.BT)\n" +
                               "Esc (key 1)\n- Colour: #000000\n+ Colour: #FF0000\n"
                               "A (key 43)\n- Top layer Key: Combo LCTRL | C\n+ Top layer Key: Single B\n");
    EXPECT_EQ(zarnctl({"--simulate=Zarn", "diff", profile}).status, 4) << "another model's profile";
    EXPECT_EQ(zarnctl({"diff", profile}).status, 3) << "no keyboard";
}

TEST_F(ZarnctlTest, SetAndColourOnTheKeyboard) {
    const CliRun set = zarnctl({"--simulate", "set", "--device", "--verify", "A", "combo", "Ctrl+C"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, "A (key 43): Top layer Key: Combo LCTRL | C\nKeys written to the keyboard.\n"
                       "Verified: the keyboard holds every key as written.\n");
    const CliRun colour = zarnctl({"--simulate", "colour", "--device", "--verify", "all", "#204060"});
    ASSERT_EQ(colour.status, 0) << colour.err;
    EXPECT_EQ(colour.out, "All 103 keys: #204060\nColours written to the keyboard.\n"
                          "Verified: the keyboard holds every colour as written.\n");
    const CliRun json = zarnctl({"--simulate", "show", "--json"});
    EXPECT_NE(
        json.out.find("\"label\": \"A\", \"layer\": 0, \"mode\": 2, \"type\": \"Combo\", \"assignment\": "
                      "\"LCTRL | C\", \"values\": [\"LCTRL\", \"C\"]}"),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("{\"key\": 103, \"label\": \"KPEnter\", \"colour\": \"#204060\"}"),
              std::string::npos);

    writeFile(path("edit.json"), "{\"keys\": [{\"label\": \"B\", \"type\": \"Power\", \"values\": "
                                 "[\"Sleep\"]}], \"colours\": [{\"key\": 1, \"colour\": \"#000001\"}]}");
    const CliRun both = zarnctl({"--simulate", "set", "--device", "--verify", "--json", path("edit.json")});
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.out,
              "Keys written to the keyboard.\nVerified: the keyboard holds every key as written.\n"
              "Colours written to the keyboard.\nVerified: the keyboard holds every colour as written.\n"
              "Set 1 assignments and 1 colours.\n");
    EXPECT_NE(zarnctl({"--simulate", "show", "--json"})
                  .out.find("{\"key\": 1, \"label\": \"Esc\", \"colour\": "
                            "\"#000001\"}"),
              std::string::npos);

    const CliRun dark = zarnctl({"--simulate=Zarn", "colour", "--device", "A", "#FFFFFF"});
    EXPECT_EQ(dark.status, 4);
    EXPECT_EQ(zarnctl({"set", "--device", "A", "single", "B"}).status, 3) << "no keyboard";
    EXPECT_EQ(zarnctl({"--simulate", "set", "--device", "--model", "Zarn", "A", "single", "B"}).status, 2);
}

// show --json gives back everything set takes: through set --json the
// factory profile of every model comes back byte for byte, over a profile
// that held something else, both from a profile and from the keyboard.
TEST_F(ZarnctlTest, ShowJsonRoundTripsThroughSetForEveryModel) {
    for (const std::string model : {"ZarnRGB.BT", "ZarnBT", "Zarn", "ZarnRGB"}) {
        SCOPED_TRACE(model);
        const std::string factory = path(model + ".pro");
        const std::string edited = path(model + "-edited.pro");
        ASSERT_EQ(zarnctl({"--simulate=" + model, "defaults", factory}).status, 0);
        for (const std::vector<std::string>& edit :
             {std::vector<std::string>{"set", edited, "--model", model, "A", "combo", "Ctrl+C"},
              {"set", edited, "Esc", "clear", "--layer", "1"},
              {"set", edited, "Fn", "macro", "B", "--delay", "5"}}) {
            ASSERT_EQ(zarnctl(edit).status, 0) << edit[2];
        }
        if (model.find("RGB") != std::string::npos) {
            ASSERT_EQ(zarnctl({"colour", edited, "all", "#123456"}).status, 0);
        }

        const CliRun fromProfile = zarnctl({"show", "--json", factory});
        ASSERT_EQ(fromProfile.status, 0) << fromProfile.err;
        writeFile(path("profile.json"), fromProfile.out);
        const CliRun applied = zarnctl({"set", edited, "--json", path("profile.json")});
        ASSERT_EQ(applied.status, 0) << applied.err;
        EXPECT_EQ(readFile(edited), readFile(factory));

        const CliRun fromKeyboard = zarnctl({"--simulate=" + model, "show", "--json"});
        ASSERT_EQ(fromKeyboard.status, 0) << fromKeyboard.err;
        writeFile(path("keyboard.json"), fromKeyboard.out);
        input_ = path("keyboard.json");
        const std::string copy = path(model + "-copy.pro");
        const CliRun created = zarnctl({"set", copy, "--json", "-"});
        input_.reset();
        ASSERT_EQ(created.status, 0) << created.err;
        EXPECT_NE(created.err.find("starts from the factory profile of " + model + "\n"), std::string::npos);
        EXPECT_EQ(readFile(copy), readFile(factory));
    }
}

TEST_F(ZarnctlTest, ShowJsonRoundTripsEveryKindOfAssignment) {
    const std::string rich = path("rich.pro");
    const std::vector<std::vector<std::string>> edits = {
        {"set", rich, "--model", "ZarnRGB.BT", "F1", "macro", "A Down", "<50 ms>", "A UP", "--cycles", "3",
         "--play-mode", "2"},
        {"set", rich, "F2", "macro", "A", "Mouse Key Left", "--delay", "15"},
        {"set", rich, "F3", "emulation", "X", "Y", "--delay", "100"},
        {"set", rich, "Tab", "combo", "LWin+E"},
        {"set", rich, "Fn", "function", "FN"},
        {"set", rich, "Fn", "single", "A"}, // FN left on the Fn layer only
        {"set", rich, "Pause", "function", "#176"},
        {"set", rich, "Space", "mouse", "Left Double Click", "--layer", "1"},
        {"colour", rich, "Esc", "KPEnter", "#FF0000"},
    };
    for (const auto& edit : edits) {
        ASSERT_EQ(zarnctl(edit).status, 0) << edit[2] << " " << edit[3];
    }
    const CliRun shown = zarnctl({"show", "--json", rich});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(JsonChecker(shown.out).valid());
    writeFile(path("rich.json"), shown.out);
    const std::string copy = path("copy.pro");
    const CliRun applied = zarnctl({"set", copy, "--json", path("rich.json")});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(applied.out, "Set 206 assignments and 103 colours in " + copy + ".\n");
    EXPECT_EQ(readFile(copy), readFile(rich));
}

TEST_F(ZarnctlTest, SetJsonRefusesABadDocumentAndChangesNothing) {
    const std::string profile = path("j.pro");
    ASSERT_EQ(zarnctl({"set", profile, "--model", "Zarn", "A", "single", "B"}).status, 0);
    const std::string before = readFile(profile);
    struct JsonCase {
        const char* json;
        int status;
        const char* err;
    };
    const JsonCase cases[] = {
        {"{\"keys\": [", 4, "is not valid: line 1, column 11: the document ends too early"},
        {"[]", 2, "the document is not an object"},
        {"{\"keys\": [{\"key\": 1, \"type\": \"Single\", \"values\": [\"B\"]}, {\"label\": \"A\", \"type\": "
         "\"Multimedia\", \"values\": [\"Mutte\"]}]}",
         2, "keys[1] (A (key 43)): 'Mutte' is not a Multimedia name; close names: Mute; nothing was changed"},
        {"{\"keys\": [{\"key\": 104, \"type\": \"Single\", \"values\": [\"B\"]}]}", 2, "is not a key number"},
        {"{\"keys\": [{\"key\": 1, \"layer\": 2, \"type\": \"Single\"}]}", 2, "\"layer\" must be 0 or 1"},
        {"{\"colours\": [{\"key\": 1, \"colour\": \"#FFFFFF\"}]}", 4, "The Zarn has no backlight"},
    };
    for (const JsonCase& c : cases) {
        writeFile(path("bad.json"), c.json);
        const CliRun run = zarnctl({"set", profile, "--json", path("bad.json")});
        EXPECT_EQ(run.status, c.status) << c.json;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(readFile(profile), before) << c.json;
    }
    EXPECT_EQ(zarnctl({"set", profile, "--json", path("missing.json")}).status, 4);
    EXPECT_EQ(zarnctl({"set", profile, "A", "single", "B", "--json", path("bad.json")}).status, 2);
}

std::vector<std::string> backupsIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The simulated keyboard forgets its layout in an update, as some do.
TEST_F(ZarnctlTest, FlashKeepsTheLayoutThroughAnUpdateThatResetsIt) {
    writeFile(path("ZarnRGB_v2.hex"), firmwareImage());
    const std::vector<std::string> sim{"--simulate=ZarnRGB"};
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), sim.begin(), sim.end());
        return zarnctl(args);
    };
    ASSERT_EQ(run({"set", "--device", "A", "combo", "Ctrl+C"}).status, 0);
    ASSERT_EQ(run({"set", "--device", "F1", "macro", "A Down", "<50 ms>", "A UP"}).status, 0);
    ASSERT_EQ(run({"colour", "--device", "Esc", "#FF8000"}).status, 0);
    ASSERT_EQ(run({"read-keys", path("before.pro")}).status, 0);

    const CliRun flashed = run({"flash", path("ZarnRGB_v2.hex")});
    ASSERT_EQ(flashed.status, 0) << flashed.err;
    const fs::path backups = folder_ / "state" / "zarn" / "backups";
    const std::vector<std::string> kept = backupsIn(backups);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(fs::path(kept[0]).filename().string().starts_with("ZarnRGB-backup-")) << kept[0];
    EXPECT_EQ(flashed.out.rfind("The layout is backed up in " + kept[0] + ".\n", 0), 0u) << flashed.out;
    EXPECT_NE(flashed.out.find("The layout of before the update is written back and checked.\n"),
              std::string::npos)
        << flashed.out;
    EXPECT_NE(flashed.err.find("key table and lights reset to the factory layout"), std::string::npos);
    EXPECT_EQ(run({"diff", path("before.pro")}).status, 0) << "the layout is back";
    EXPECT_EQ(run({"version"}).out, "ZarnRGB V1.06\n");

    const CliRun kept2 = run({"flash", "--no-restore", path("ZarnRGB_v2.hex")});
    ASSERT_EQ(kept2.status, 0) << kept2.err;
    const std::vector<std::string> both = backupsIn(backups);
    ASSERT_EQ(both.size(), 2u);
    const std::string second = both[0] == kept[0] ? both[1] : both[0];
    EXPECT_NE(kept2.out.find("The layout is kept in " + second + "; zarnctl write-keys " + second +
                             " writes it back.\n"),
              std::string::npos)
        << kept2.out;
    EXPECT_EQ(run({"diff", path("before.pro")}).status, 1) << "left with the factory layout";
    EXPECT_EQ(zarnctl({"diff", path("before.pro"), second}).status, 0) << "the backup is the layout";
}

bool receivedFirmware(const ScriptedKeyboard& keyboard) {
    const auto received = keyboard.received();
    return std::any_of(received.begin(), received.end(),
                       [](const auto& payload) { return payload[1] == 0x3A; });
}

TEST_F(ZarnctlTest, AFailedBackupStopsTheUpdateUnlessForced) {
    writeFile(path("Zarn_v2.hex"), firmwareImage());
    const ScriptedKeyboard keyboard(ScriptedKeyboard::sendsNoKey(),
                                    ScriptedKeyboardIdentity{0x0483, 0x5239, 1});
    environment_["ZARN_VIRTUAL_HID"] = "0483:5239:1=" + keyboard.socketPath();

    const CliRun refused = zarnctl({"flash", path("Zarn_v2.hex")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The layout could not be backed up: the keyboard sent no key. Nothing was "
                               "downloaded (--force downloads all the same).\n"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(receivedFirmware(keyboard));

    const CliRun forced = zarnctl({"flash", "--force", path("Zarn_v2.hex")});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(forced.err.find("Downloading all the same (--force)."), std::string::npos) << forced.err;
    EXPECT_EQ(forced.out.find("backed up"), std::string::npos);
    EXPECT_TRUE(receivedFirmware(keyboard));
}

} // namespace
