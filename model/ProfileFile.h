#pragma once

#include <string>

class ConfigDocument;

// Why a profile could not be saved or opened; the program and the command
// line word the message from it.
enum class ProfileError {
    None,
    CannotWrite,   // the file (or its temporary sibling) could not be written or renamed
    CannotRead,    // the file could not be opened or read
    NotWellFormed, // the text is not an XML document
    WrongModel,    // the root element is not the current model's name
    BadValue,      // a value the keyboard cannot take, that no editor would clamp
};

struct ProfileResult {
    ProfileError error = ProfileError::None;
    std::string detail; // why, in words: the system's reason, or what is wrong with the text
    explicit operator bool() const { return error == ProfileError::None; }
};

// Saves the user part of the document (libraries, colours, every slot).
// The previous file survives a failed save, and a target that is not a
// regular file, or not the user's to write, is refused.
ProfileResult SaveProfile(const ConfigDocument& doc, const std::string& path);
// Replaces the user part of the document; on any failure the document is
// left exactly as it was.  Values beyond what the key settings dialog allows
// are clamped as it would clamp them (see ListLimits.h); values it has no
// clamp for refuse the file.
ProfileResult LoadProfile(ConfigDocument& doc, const std::string& path);

// Opens a profile of whichever model its root element names, without a
// keyboard to say which: the document's modelType becomes that model.  A
// root that names no model is WrongModel; on any failure the document,
// modelType included, is left as it was.
ProfileResult LoadProfileOfItsModel(ConfigDocument& doc, const std::string& path);
