#pragma once

#include "model/ConfigDocument.h"
#include "platform/HidTransport.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline constexpr const char* kNotConnectedMessage = "Keyboard is not connected!";

// A keyboard interface of the family as the enumeration found it.
struct KeyboardListing {
    int modelType = 0;
    HidDeviceInfo device;
};

// Every interface of the family, in enumeration order; the first is the one
// the device library opens.
std::vector<KeyboardListing> ListKeyboards();

// A document with its catalogue built, English texts and the factory
// assignment of the detected keyboard's model.
class CliKeyboard {
public:
    CliKeyboard();

    // Detects the model; false, with the message on `err`, without a keyboard.
    bool detect(std::ostream& err);
    // Detects the model and opens the keyboard.
    bool open(std::ostream& err);
    // Opens the keyboard without touching the document (after a profile was
    // loaded); false, with the reason on `err`, when it cannot be used.
    bool connect(std::ostream& err);

    // Says that `what` failed and why, and gives the exit status: a keyboard
    // that cannot be used now (permission, busy, gone) is 3, one that did not
    // answer 1.
    int failed(std::ostream& err, const std::string& what) const;

    ConfigDocument& document() { return *doc_; }
    const char* modelName() const { return ModelName(doc_->modelType); }

private:
    std::unique_ptr<ConfigDocument> doc_;
};
