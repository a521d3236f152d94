#pragma once

#include <string>

// Whether a file name (without folder and extension) belongs to the model:
// it begins with the model's FirmwarePrefix, exactly and case-sensitively.
bool FirmwareMatchesModel(const std::string& fileName, int modelType);
