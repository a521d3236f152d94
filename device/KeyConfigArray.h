#pragma once

#include "device/CKeyDefine.h"

#include <memory>

// The integer array in which one key definition crosses the library's
// interface.  Element 0 is the kind: 0 normal, 1 continuous, 2 macro.
enum KeyConfigKind { kNormalConfig = 0, kContinuousConfig = 1, kMacroConfig = 2 };

// The record `config` describes, or null when the kind is unknown, a field is
// out of range, the definition is longer than a record can carry or `length`
// does not hold the whole definition.
std::unique_ptr<CKeyDefine> recordFromKeyConfig(int layerNumber, int keyNumber, const int* config,
                                                int length);

// Writes the definition of `record` (null: an empty slot) into `config`.  False,
// writing nothing, when `capacity` cannot hold it.
bool keyConfigFromRecord(const CKeyDefine* record, int* config, int capacity);
