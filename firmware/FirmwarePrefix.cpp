#include "firmware/FirmwarePrefix.h"

#include "model/Catalogue.h"

bool FirmwareMatchesModel(const std::string& fileName, int modelType) {
    return fileName.starts_with(FirmwarePrefix(modelType));
}
