#include "model/Catalogue.h"

namespace {

// clang-format off

// Layer 0, the same for every model.  Key 73 (right Ctrl) sends RCTRL 74, and
// the Fn key holds FN 156 on both layers.
constexpr int kTopLayer[kKeyCount] = {
      1,   2,   3,   4,   5,   6,   7,   8,   9,  10, // keys 1..10
     11,  12,  13,  14,  15,  16,  17,  18,  19,  20, // keys 11..20
     21,  22,  23,  24,  25,  26,  27,  28,  29,  30, // keys 21..30
     31,  32,  33,  34,  35,  36,  37,  38,  39,  40, // keys 31..40
     41,  42,  43,  44,  45,  46,  47,  48,  49,  50, // keys 41..50
     51,  52,  53,  54,  55,  56,  57,  58,  59,  60, // keys 51..60
     61,  62,  63,  64,  65,  66,  67,  68,  69,  70, // keys 61..70
     71, 156,  74,  87,  88,  89,  90,  81,  82,  83, // keys 71..80
     78,  84,  85,  86,  79,  91,  92,  93,  80,  94, // keys 81..90
     95,  96, 105,  97,  98,  99, 106, 100, 101, 102, // keys 91..100
    103, 104, 107, // keys 101..103
};

struct FnLayerRow {
    int key;
    std::array<int, 4> byModel; // ModelType 1, 2, 3, 4
};

// Factory codes of the Fn layer; keys not listed have nothing there.
constexpr FnLayerRow kFnLayer[] = {
    {  1, {150, 150, 150, 150}}, // Esc
    { 10, {151, 151, 151, 151}}, // F9
    { 11, {135,   0,   0, 135}}, // F10
    { 14, {136,   0,   0, 136}}, // ~
    { 15, {148,   0,   0, 148}}, // 1
    { 16, {138,   0,   0, 138}}, // 2
    { 17, {139,   0,   0, 139}}, // 3
    { 18, {141,   0,   0, 141}}, // 4
    { 19, {137,   0,   0, 137}}, // 5
    { 21, {160,   0,   0, 160}}, // 7
    { 22, {161,   0,   0, 161}}, // 8
    { 23, {162,   0,   0, 162}}, // 9
    { 24, {163,   0,   0, 163}}, // 0
    { 25, {164,   0,   0, 164}}, // -
    { 26, {165,   0,   0, 165}}, // +
    { 47, {171, 171,   0,   0}}, // G
    { 60, {172, 172,   0,   0}}, // B
    { 67, {152, 152, 152, 152}}, // Ctrl
    { 68, {153, 153, 153, 153}}, // Win
    { 69, {155, 155, 155, 155}}, // Alt
    { 70, {140,   0,   0, 140}}, // Space
    { 72, {156, 156, 156, 156}}, // Fn
    { 74, {145, 145, 145, 145}}, // Up
    { 75, {146,   0,   0, 146}}, // Left
    { 76, {144, 144, 144, 144}}, // Down
    { 77, {147,   0,   0, 147}}, // Right
    { 78, {168, 168,   0,   0}}, // Insert
    { 79, {169, 169,   0,   0}}, // Home
    { 80, {170, 170,   0,   0}}, // PgUp
    { 81, {159, 159,   0,   0}}, // PrtScreen
    { 82, {167, 167,   0,   0}}, // Delete
};

constexpr std::array<int, kSlotCount> buildTable(int modelIndex) {
    std::array<int, kSlotCount> table{};
    for (int key = 1; key <= kKeyCount; ++key) {
        table[2 * key] = kTopLayer[key - 1];
    }
    for (const FnLayerRow& row : kFnLayer) {
        table[2 * row.key + 1] = row.byModel[modelIndex];
    }
    return table;
}

constexpr std::array<std::array<int, kSlotCount>, 4> kTables = {
    buildTable(0),
    buildTable(1),
    buildTable(2),
    buildTable(3),
};

} // namespace

const std::array<int, kSlotCount>& DefaultCodeTable(int modelType) {
    if (modelType >= 2 && modelType <= 4) {
        return kTables[modelType - 1];
    }
    return kTables[0];
}
