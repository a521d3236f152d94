#include "tests/packaging/UdevRules.h"

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool isAncestorKey(const std::string& name) {
    return name == "SUBSYSTEMS" || name == "KERNELS" || name == "ATTRS" || name == "DRIVERS";
}

bool isDeviceKey(const std::string& name) {
    return name == "SUBSYSTEM" || name == "KERNEL" || name == "ATTR" || name == "ACTION";
}

bool isAssignment(const std::string& name) {
    return name == "TAG" || name == "MODE" || name == "GROUP" || name == "OWNER";
}

bool matches(const std::string& pattern, const std::string& value) {
    std::stringstream alternatives(pattern);
    std::string alternative;
    while (std::getline(alternatives, alternative, '|')) {
        if (::fnmatch(alternative.c_str(), value.c_str(), 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

bool isDevice(const fs::path& folder) {
    return fs::exists(folder / "uevent");
}

std::string subsystemOf(const fs::path& device) {
    std::error_code error;
    const fs::path target = fs::read_symlink(device / "subsystem", error);
    return error ? std::string() : target.filename().string();
}

std::string driverOf(const fs::path& device) {
    std::error_code error;
    const fs::path target = fs::read_symlink(device / "driver", error);
    return error ? std::string() : target.filename().string();
}

// udev reads an attribute with its trailing white space removed.
bool attribute(const fs::path& device, const std::string& name, std::string& value) {
    std::ifstream file(device / name);
    if (!file) {
        return false;
    }
    value = trimmed({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    return true;
}

} // namespace

UdevRules::UdevRules(const std::string& text) {
    std::stringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        Rule rule;
        std::size_t at = first;
        while (at < line.size()) {
            Key key;
            const auto opAt = line.find_first_of("=!+-:", at);
            const auto quote = line.find('"', at);
            const auto close = quote == std::string::npos ? quote : line.find('"', quote + 1);
            if (opAt == std::string::npos || quote == std::string::npos || close == std::string::npos) {
                parseError_ = "cannot read: " + line;
                return;
            }
            std::string name = trimmed(line.substr(at, opAt - at));
            name.erase(0, name.find_first_not_of(" \t,"));
            key.op = line.substr(opAt, quote - opAt);
            if (const auto brace = name.find('{'); brace != std::string::npos) {
                key.attribute = name.substr(brace + 1, name.size() - brace - 2);
                name.resize(brace);
            }
            key.name = name;
            key.value = line.substr(quote + 1, close - quote - 1);
            const bool known = isAncestorKey(name) || isDeviceKey(name) || isAssignment(name) ||
                               name == "GOTO" || name == "LABEL";
            const bool match = key.op == "==" || key.op == "!=";
            if (!known || (isAncestorKey(name) && key.op != "==") ||
                ((isAncestorKey(name) || isDeviceKey(name)) && !match) || (isAssignment(name) && match)) {
                parseError_ = "not understood: " + line.substr(at, close + 1 - at);
                return;
            }
            rule.push_back(std::move(key));
            at = line.find_first_not_of(" \t,", close + 1);
        }
        rules_.push_back(std::move(rule));
    }
}

UdevRules::Outcome UdevRules::apply(const std::string& sysRoot, const std::string& device,
                                    const std::string& action) const {
    Outcome outcome;
    if (!parseError_.empty()) {
        outcome.error = parseError_;
        return outcome;
    }
    const fs::path self(device);
    std::vector<fs::path> chain;
    for (fs::path folder = self; folder.string().size() > sysRoot.size(); folder = folder.parent_path()) {
        if (isDevice(folder)) {
            chain.push_back(folder);
        }
    }

    const auto deviceKeyHolds = [&](const Key& key) {
        std::string value;
        if (key.name == "SUBSYSTEM") {
            value = subsystemOf(self);
        } else if (key.name == "KERNEL") {
            value = self.filename().string();
        } else if (key.name == "ACTION") {
            value = action;
        } else if (!attribute(self, key.attribute, value)) {
            return key.op == "!=";
        }
        return matches(key.value, value) == (key.op == "==");
    };
    const auto ancestorKeyHolds = [&](const Key& key, const fs::path& candidate) {
        std::string value;
        if (key.name == "SUBSYSTEMS") {
            value = subsystemOf(candidate);
        } else if (key.name == "KERNELS") {
            value = candidate.filename().string();
        } else if (key.name == "DRIVERS") {
            value = driverOf(candidate);
        } else if (!attribute(candidate, key.attribute, value)) {
            return false;
        }
        return matches(key.value, value);
    };

    for (std::size_t index = 0; index < rules_.size(); ++index) {
        const Rule& rule = rules_[index];
        bool holds = true;
        std::vector<const Key*> ancestorKeys;
        for (const Key& key : rule) {
            if (isDeviceKey(key.name)) {
                holds = holds && deviceKeyHolds(key);
            } else if (isAncestorKey(key.name)) {
                ancestorKeys.push_back(&key);
            }
        }
        if (holds && !ancestorKeys.empty()) {
            holds = std::any_of(chain.begin(), chain.end(), [&](const fs::path& candidate) {
                return std::all_of(ancestorKeys.begin(), ancestorKeys.end(),
                                   [&](const Key* key) { return ancestorKeyHolds(*key, candidate); });
            });
        }
        if (!holds) {
            continue;
        }
        std::string jump;
        for (const Key& key : rule) {
            if (key.name == "TAG") {
                if (key.op == "+=" || key.op == "=") {
                    outcome.tags.push_back(key.value);
                }
            } else if (isAssignment(key.name)) {
                outcome.assignments[key.name] = key.value;
            } else if (key.name == "GOTO") {
                jump = key.value;
            }
        }
        if (!jump.empty()) {
            const auto label = std::find_if(
                rules_.begin() + static_cast<std::ptrdiff_t>(index) + 1, rules_.end(), [&](const Rule& r) {
                    return std::any_of(r.begin(), r.end(),
                                       [&](const Key& k) { return k.name == "LABEL" && k.value == jump; });
                });
            if (label == rules_.end()) {
                outcome.error = "GOTO without its LABEL: " + jump;
                return outcome;
            }
            index = static_cast<std::size_t>(label - rules_.begin());
        }
    }
    return outcome;
}
