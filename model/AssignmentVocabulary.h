#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ConfigDocument;

// How a name a person typed was understood: the value it names, or why not.
struct NameMatch {
    std::optional<int> value;
    // Ambiguous: the unambiguous ways to say each reading.  Unknown: the
    // known names closest to what was typed (possibly none).
    std::vector<std::string> alternatives;
    bool ambiguous = false;

    explicit operator bool() const { return value.has_value(); }
};

// The names of keys and codes as the program shows them, for people who
// type them: the labels of the main window, the catalogue's names that the
// status text and the record lists show, and the captions and tips of the
// key settings dialog's choice pages.  Case and spaces do not matter.
//
// Labels that occur twice ("Shift", "Ctrl", "Alt") name a physical key only
// with a side ("Left Shift", "Right Shift") or a count in key order
// ("Shift#1", "Shift#2"); as a key to press (a combo's "Ctrl+C") the bare
// label means the left one.  "#N" is always key number N, or device code N.
class AssignmentVocabulary {
public:
    explicit AssignmentVocabulary(const ConfigDocument& doc);

    // A physical key (1..103): a label, a side or count name, "#N", or a
    // number from 10 (the digits 0 to 9 are the number row's labels).
    NameMatch key(std::string_view text) const;
    // The device code of a Single, Multimedia, Mouse, Function or Power
    // assignment; "#N" for a code of that type without a name.
    NameMatch code(int type, std::string_view text) const;
    // The device code of a key in a combo, emulation or macro; only codes
    // whose record line the keyboard is sent as that code.
    NameMatch listKey(std::string_view text) const;

    // The name `code` is shown by, that code() takes back; "#N" when none.
    std::string codeName(int type, int code) const;
    // The record line of a key in a list: its catalogue name.
    std::string lineOf(int code) const;
    // The name of a physical key that key() takes back without doubt.
    std::string keyName(int key) const;
    // Every name code() takes for a type, in code order (for messages).
    std::vector<std::string> names(int type) const;

private:
    // Names folded (lower case, no spaces) to the values they name.
    class Index {
    public:
        void add(std::string_view name, int value);
        std::vector<int> find(std::string_view name) const;
        // Up to a handful of the shown names nearest to `name`.
        std::vector<std::string> closest(std::string_view name) const;

    private:
        std::map<std::string, std::vector<int>> values_;
        std::map<std::string, std::string> shown_;
    };

    NameMatch lookUp(const Index& index, std::string_view text,
                     const std::function<std::string(int)>& describe) const;
    Index* codeIndex(int type);
    const Index* codeIndex(int type) const;
    bool codeOfType(int type, int code) const;

    const ConfigDocument& doc_;
    Index keys_;
    Index singles_;
    Index multimedia_;
    Index mouse_;
    Index functions_;
    Index power_;
    Index listKeys_;
};

// The device code a key's factory assignment holds on the top layer: what
// the key types out of the box.
int FactoryKeyCode(int key);

// "Left Shift" and the like for the keys whose label occurs twice; "" for
// every other key.
const char* KeySideName(int key);
