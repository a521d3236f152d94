#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr int kKeyCount = 103;          // keys 1..103 per layer
inline constexpr int kSlotCount = 208;         // 2 x key number + layer; slots 0 and 1 unused
inline constexpr int kTypeCount = 9;           // assignment types 0..8
inline constexpr int kVirtualCodeCount = 1024; // virtual codes 0..1023
inline constexpr int kReleaseFlag = 512;       // added to a virtual code for a release in record lists

// Assignment types (keyMode values).
enum AssignmentType : int {
    kTypeNotSet = 0,
    kTypeSingle = 1,
    kTypeCombo = 2,
    kTypeMacro = 3,
    kTypeEmulation = 4,
    kTypeMultimedia = 5,
    kTypeMouse = 6,
    kTypeFunction = 7,
    kTypePower = 8,
};

struct CodeName {
    int virtualCode;
    const char* name;
};

struct KeyCodePair {
    int deviceCode;
    int virtualCode;
};

// Every write into codeNames, in the order the catalogue makes them; a code
// written more than once keeps its last name.
std::span<const CodeName> CodeNameWrites();

// Device code and the virtual code that maps to it, for the keys of a full
// keyboard (device code 77 appears twice) and the few odd codes.  The
// multimedia, mouse and function codes follow the offset rule below instead.
std::span<const KeyCodePair> KeyCodePairs();
inline constexpr int kOffsetCodeFirst = 108;
inline constexpr int kOffsetCodeLast = 175;
inline constexpr int kOffsetCodeShift = 256; // virtual code = device code + 256 in that range

// Label painted on key 1..103; "" for any other number.
const char* KeyLabel(int key);

// Factory device codes of one model, indexed 2 x key number + layer.  Models
// other than 2, 3 and 4 use the table of model 1.
const std::array<int, kSlotCount>& DefaultCodeTable(int modelType);

// The assignment type a single device code gets without a list.
int ClassifyCode(int code);

// Names of the assignment types; "" outside 0..8.
const char* TypeNameZh(int type);
const char* TypeNameEn(int type);

// Model name of a ModelType: 2 "ZarnBT", 3 "Zarn", 4 "ZarnRGB", anything else "ZarnRGB.BT".
const char* ModelName(int modelType);
// Whether the model has a per-key backlight (ZarnRGB.BT and ZarnRGB; any
// value that is none of the four behaves as ZarnRGB.BT).
bool HasBacklight(int modelType);
// Start of the file name of every firmware file for the model.
const char* FirmwarePrefix(int modelType);
// ModelType of a model name, 0 for a name that is none of the four.
int ModelTypeFromName(std::string_view name);
// ModelType of a USB product id of the family (vendor 0x0483), 0 for any other.
int ModelTypeOfProduct(std::uint16_t productId);
