#pragma once

#include "device/COrvoHWI.h"
#include "model/Catalogue.h"
#include "model/RecordLineNames.h"
#include "model/RecordList.h"
#include "platform/WindowHandle.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

using Rgb = std::array<int, 3>;
// One colour per key number 0..103; entry 0 belongs to no key.
using KeyColours = std::array<Rgb, kKeyCount + 1>;

// Everything the user edits and every window shares.  The program keeps one
// for its whole run; tests and the command-line tool make their own.
class ConfigDocument {
public:
    ConfigDocument();
    ConfigDocument(const ConfigDocument&) = delete;
    ConfigDocument& operator=(const ConfigDocument&) = delete;

    // Catalogue (filled once by BuildCatalogue).
    bool BuildCatalogue();
    // Name of a device code; "-- --" when it has none.
    std::string DeviceCodeName(int deviceCode) const;
    // Name of a list entry value (virtual code, + 512 for a release).
    std::string EntryName(int value, bool withDirection) const;
    // Device code of a typed key's virtual code, 0 when the keyboard cannot store it.
    int TypedKeyCode(int virtualCode) const;
    // Type name in the current uiLanguage.
    std::string TypeName(int type) const;
    // Factory code of slot 2 x key + layer for the current modelType.
    int FactoryCode(int slot) const;

    void ResetToDefaults();
    int ParseRecordLine(const std::string& line) const;
    std::string DescribeAssignment(int key, int layer) const;

    std::string uiLanguage;
    int modelType = 0;
    int unsavedKeyChanges = 0;
    int clicksBlocked = 0;
    float scaleFactor = 1.0f;

    std::map<int, std::string> codeNames;
    std::array<int, 1024> vkToCode{};
    std::array<int, 1024> codeToVk{};
    std::array<std::string, kTypeCount> typeNamesZh;
    std::array<std::string, kTypeCount> typeNamesEn;

    int selectedKey = 0;
    int currentLayer = 0;

    RecordList predefinedMacros;
    RecordList predefinedCombos;
    RecordList predefinedEmulations;

    KeyColours keyColours{};
    std::array<int, kSlotCount> keyMode{};
    std::array<int, kSlotCount> keyCode{};
    std::array<RecordList, kSlotCount> keyLists;
    // The keyboard counts in unsigned 32 bits: held wider than int, so that
    // every count stays positive and a negative value still means not read.
    std::array<std::int64_t, kKeyCount + 1> keyCounters{};
    int highestKey = -1;
    int lowestKey = -1;

    std::array<std::uint8_t, kKeyCount + 1> lightSelected{};
    KeyColours lightWorkColours{};
    int pickRed = 0;
    int pickGreen = 0;
    int pickBlue = 0;
    int pickedCode = 0;
    std::array<int, 6> pickedComboCodes{};
    int pickedComboCount = 0;

    COrvoHWI device;
    WindowHandle progressWindow;
    std::string firmwarePath;

private:
    // Made from codeNames by BuildCatalogue, the only writer of the names.
    RecordLineNames recordLineNames_;
};
