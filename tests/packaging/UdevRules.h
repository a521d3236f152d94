#pragma once

#include <map>
#include <string>
#include <vector>

// Enough of udev's rule language to tell what a rules file does to one
// device of a sysfs tree: match keys on the device itself (SUBSYSTEM, KERNEL,
// ATTR, ACTION), match keys on one ancestor (SUBSYSTEMS, KERNELS, ATTRS,
// DRIVERS; all of one rule on the same ancestor, as udev requires), patterns
// with * ? [] and | alternatives, GOTO and LABEL, and the assignments TAG,
// MODE, GROUP, OWNER.  Any other key is an error, so a rule the evaluator
// does not understand cannot pass unnoticed.
class UdevRules {
public:
    struct Outcome {
        std::vector<std::string> tags;
        std::map<std::string, std::string> assignments; // MODE, GROUP, OWNER
        std::string error;
    };

    explicit UdevRules(const std::string& text);

    // `device` is a folder of the tree below `sysRoot`; a folder is a device
    // when it has a "uevent" file, and its subsystem is the name of the folder
    // its "subsystem" link points at.
    Outcome apply(const std::string& sysRoot, const std::string& device, const std::string& action) const;

    const std::string& parseError() const { return parseError_; }

private:
    struct Key {
        std::string name;
        std::string attribute;
        std::string op;
        std::string value;
    };
    using Rule = std::vector<Key>;

    std::vector<Rule> rules_;
    std::string parseError_;
};
