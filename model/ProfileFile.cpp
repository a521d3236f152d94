#include "model/ProfileFile.h"

#include "model/CXmlDocument.h"
#include "model/Catalogue.h"
#include "model/ConfigDocument.h"
#include "model/ListLimits.h"
#include "model/TextEncoding.h"
#include "model/XmlProblem.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr std::u16string_view kDeclaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr int kLibrarySizeOfView[] = {6, 9, 9}; // combos, macros, emulations
constexpr std::u16string_view kLibrarySections[] = {u"PredefinedCombo", u"PredefinedMacro", u"PredefinedEmu"};

// Bounds for what a hand-made file may ask for.  A step list never holds
// more than 1600 lines (a macro with automatic delays); the libraries have
// no limit of their own, so they get a generous one.  The entries that gaps
// between IDs create are budgeted for the whole file, so that a small file
// cannot make the reader allocate gigabytes of empty entries.  Files written
// by the program have no gaps and never come near either bound.
constexpr int kLongestList = 1600;
constexpr int kLongestLibrary = 65536;
constexpr long kGapBudget = 100000;
// Lists nest two deep in a real file (library, entry content, its empty
// step children); deeper ones are not read.
constexpr int kDeepestList = 4;

bool isCSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Read as C's atoi reads: leading white space, an optional sign and the
// digits that follow ("12abc" is 12); anything else is 0, and values beyond
// int stop at its limits.
int toInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(kLimit, value * 10 + (text[i] - u'0'));
    }
    value = negative ? -value : value;
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A number as attribute text, kept on the stack for the one call that writes it.
class Decimal {
public:
    explicit Decimal(long long value) {
        char digits[kDigits];
        auto [end, error] = std::to_chars(digits, digits + kDigits, value);
        (void)error;
        length_ = static_cast<std::size_t>(end - digits);
        std::copy(digits, end, wide_);
    }
    std::u16string_view view() const { return {wide_, length_}; }

private:
    static constexpr std::size_t kDigits = 24;
    char16_t wide_[kDigits];
    std::size_t length_ = 0;
};

class ProfileWriter {
public:
    explicit ProfileWriter(CXmlDocument& xml) : xml_(xml) {}

    void list(const RecordList& list) {
        const Decimal sizeOfView(list.sizeOfView);
        const Decimal viewStartAt(list.viewStartAt);
        const Decimal cursorPos(list.cursorPos);
        const Decimal cycles(list.cycles);
        const Decimal isAutoInterval(list.isAutoInterval ? 1 : 0);
        const Decimal delay(list.delay);
        const Decimal playMode(list.playMode);
        const XmlAttribute attributes[] = {
            {u"SizeOfView", sizeOfView.view()},
            {u"ViewStartAt", viewStartAt.view()},
            {u"CursorPos", cursorPos.view()},
            {u"Cycles", cycles.view()},
            {u"IsAutoInterval", isAutoInterval.view()},
            {u"Delay", delay.view()},
            {u"PlayMode", playMode.view()},
        };
        xml_.addElement(u"List", attributes);
        xml_.enterElement();
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            const Decimal id(static_cast<long long>(i));
            text_.clear();
            appendUtf8AsUtf16(text_, list.items[i]);
            const XmlAttribute entry[] = {{u"ID", id.view()}, {u"t1", text_}};
            xml_.addElement(u"x", entry);
            xml_.enterElement();
            static const RecordList kEmpty;
            this->list(i < list.children.size() ? list.children[i] : kEmpty);
            xml_.leaveElement();
        }
        xml_.leaveElement();
    }

private:
    CXmlDocument& xml_;
    // The entry text being written; the recursion below is done with it
    // before it is reused.
    std::u16string text_;
};

// Everything a load replaces, gathered first so that a refused file leaves
// the document as it was.
struct ProfileContent {
    RecordList libraries[3];
    std::array<Rgb, kKeyCount + 1> colours{};
    std::array<int, kSlotCount> modes{};
    std::array<int, kSlotCount> codes{};
    std::array<RecordList, kSlotCount> lists;
};

class ProfileReader {
public:
    explicit ProfileReader(CXmlDocument& xml) : xml_(xml) {}

    // Positioned on the element that holds the "List".
    void list(RecordList& list, int depth, int longest) {
        list.Clear();
        if (!xml_.findElement(u"List")) {
            return;
        }
        list.sizeOfView = intAttribute(u"SizeOfView");
        list.viewStartAt = intAttribute(u"ViewStartAt");
        list.cursorPos = intAttribute(u"CursorPos");
        list.cycles = intAttribute(u"Cycles");
        list.isAutoInterval = intAttribute(u"IsAutoInterval") != 0;
        list.delay = intAttribute(u"Delay");
        list.playMode = intAttribute(u"PlayMode");
        xml_.enterElement();
        while (xml_.findElement(u"x")) {
            entry(list, depth, longest);
        }
        xml_.leaveElement();
        // The lists grew an entry at a time: what they reserved beyond their
        // entries goes back for the next list instead of adding to the peak.
        list.items.shrink_to_fit();
        list.children.shrink_to_fit();
    }

    void section(std::u16string_view name, RecordList& library) {
        if (!xml_.findElement(name)) {
            return; // a missing section reads as an empty library
        }
        xml_.enterElement();
        list(library, 0, kLongestLibrary);
        xml_.leaveElement();
    }

    int intAttribute(std::u16string_view name) const { return toInt(xml_.getAttribute(name)); }

private:
    void entry(RecordList& list, int depth, int longest) {
        int id = intAttribute(u"ID");
        if (id < 0 || id >= longest) {
            return;
        }
        auto index = static_cast<std::size_t>(id);
        if (index >= list.items.size()) {
            long gap = static_cast<long>(index - list.items.size());
            if (gap > gapBudget_) {
                return;
            }
            gapBudget_ -= gap;
            list.items.resize(index + 1);
            list.children.resize(index + 1);
        }
        list.items[index] = utf16ToUtf8(xml_.getAttribute(u"t1"));
        RecordList child;
        if (depth + 1 < kDeepestList) {
            xml_.enterElement();
            this->list(child, depth + 1, kLongestList);
            xml_.leaveElement();
        }
        list.children[index] = std::move(child);
    }

    CXmlDocument& xml_;
    long gapBudget_ = kGapBudget;
};

void readColours(CXmlDocument& xml, ProfileReader& reader, ProfileContent& content) {
    if (!xml.findElement(u"BackgroundLightSettings")) {
        return;
    }
    xml.enterElement();
    while (xml.findElement(u"AREA")) {
        int id = reader.intAttribute(u"ID");
        if (id < 1 || id > kKeyCount) {
            continue;
        }
        content.colours[static_cast<std::size_t>(id)] = {
            reader.intAttribute(u"Red"), reader.intAttribute(u"Green"), reader.intAttribute(u"Blue")};
    }
    xml.leaveElement();
}

void readKeys(CXmlDocument& xml, ProfileReader& reader, ProfileContent& content) {
    if (!xml.findElement(u"CurrentSettings")) {
        return;
    }
    xml.enterElement();
    while (xml.findElement(u"KEY")) {
        int id = reader.intAttribute(u"ID");
        int level = reader.intAttribute(u"Level");
        if (id < 1 || id > kKeyCount || level < 0 || level > 1) {
            continue;
        }
        auto slot = static_cast<std::size_t>(2 * id + level);
        // Taken as they are; checkValues decides.
        content.modes[slot] = reader.intAttribute(u"Mode");
        content.codes[slot] = reader.intAttribute(u"HWCode");
        RecordList list;
        xml.enterElement();
        if (xml.findElement(u"ComboKey")) {
            xml.enterElement();
            reader.list(list, 0, kLongestList);
            xml.leaveElement();
        }
        xml.leaveElement();
        content.lists[slot] = std::move(list);
    }
    xml.leaveElement();
}

// What a key or slot receives when the file does not mention it: the
// model's factory assignment with no colour and an empty list, exactly what
// the program starts with.
void startFromFactory(const ConfigDocument& doc, ProfileContent& content) {
    for (std::size_t i = 0; i < 3; ++i) {
        content.libraries[i].sizeOfView = kLibrarySizeOfView[i];
    }
    const std::array<int, kSlotCount>& factory = DefaultCodeTable(doc.modelType);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        content.codes[slot] = factory[slot];
        content.modes[slot] = ClassifyCode(factory[slot]);
    }
}

std::string outOfRange(std::string_view name, int value, std::string_view what, int highest) {
    return std::string(name) + " " + std::to_string(value) + " is not " + std::string(what) + " (0 to " +
           std::to_string(highest) + ")";
}

// Every value that reaches the keyboard is checked before the document is
// touched: where the program's own editors clamp, it is clamped as they
// would; anything else refuses the file with the place and the reason, so
// that a bad value is not found only when the keys are written.
std::string checkValues(ProfileContent& content) {
    constexpr ListKind kLibraryKinds[] = {ListKind::Combo, ListKind::Macro, ListKind::Emulation};
    for (std::size_t i = 0; i < 3; ++i) {
        std::vector<RecordList>& entries = content.libraries[i].children;
        for (std::size_t entry = 0; entry < entries.size(); ++entry) {
            if (std::string why = KeepListInLimits(entries[entry], kLibraryKinds[i]); !why.empty()) {
                return utf16ToUtf8(kLibrarySections[i]) + " entry " + std::to_string(entry) + ": " + why;
            }
        }
    }
    constexpr std::string_view kComponents[] = {"Red", "Green", "Blue"};
    for (int key = 1; key <= kKeyCount; ++key) {
        const Rgb& colour = content.colours[static_cast<std::size_t>(key)];
        for (std::size_t c = 0; c < 3; ++c) {
            if (colour[c] < 0 || colour[c] > 255) {
                return "AREA ID=" + std::to_string(key) + ": " +
                       outOfRange(kComponents[c], colour[c], "a colour value", 255);
            }
        }
    }
    for (int key = 1; key <= kKeyCount; ++key) {
        for (int level = 0; level <= 1; ++level) {
            const auto slot = static_cast<std::size_t>(2 * key + level);
            const std::string where =
                "KEY ID=" + std::to_string(key) + " Level=" + std::to_string(level) + ": ";
            const int mode = content.modes[slot];
            if (mode < 0 || mode >= kTypeCount) {
                return where + outOfRange("Mode", mode, "an assignment type", kTypeCount - 1);
            }
            // Device codes are one byte; anything else could also index past the code tables.
            if (content.codes[slot] < 0 || content.codes[slot] > 0xFF) {
                return where + outOfRange("HWCode", content.codes[slot], "a device code", 0xFF);
            }
            std::string why;
            if (mode == kTypeCombo) {
                why = KeepListInLimits(content.lists[slot], ListKind::Combo);
            } else if (mode == kTypeMacro) {
                why = KeepListInLimits(content.lists[slot], ListKind::Macro);
            } else if (mode == kTypeEmulation) {
                why = KeepListInLimits(content.lists[slot], ListKind::Emulation);
            }
            if (!why.empty()) {
                return where + why;
            }
        }
    }
    return {};
}

void commit(ConfigDocument& doc, ProfileContent& content) {
    doc.predefinedCombos = std::move(content.libraries[0]);
    doc.predefinedMacros = std::move(content.libraries[1]);
    doc.predefinedEmulations = std::move(content.libraries[2]);
    doc.keyColours = content.colours;
    doc.keyMode = content.modes;
    doc.keyCode = content.codes;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        doc.keyLists[slot] = std::move(content.lists[slot]);
    }
    // Every byte 200: every counter reads negative until the keyboard is read again.
    std::memset(doc.keyCounters.data(), 200, sizeof doc.keyCounters);
    doc.highestKey = -1;
    doc.lowestKey = -1;
}

// About the characters a list takes in the file: an "x" line with its empty
// child list is some 150; a guess only, to size the text once.
std::size_t estimatedCharacters(const RecordList& list) {
    std::size_t characters = 120;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        characters += 30 + list.items[i].size();
        characters += i < list.children.size() ? estimatedCharacters(list.children[i]) : 120;
    }
    return characters;
}

std::size_t estimatedCharacters(const ConfigDocument& doc) {
    std::size_t characters = 4096 + 50 * kKeyCount + estimatedCharacters(doc.predefinedCombos) +
                             estimatedCharacters(doc.predefinedMacros) +
                             estimatedCharacters(doc.predefinedEmulations);
    for (const RecordList& list : doc.keyLists) {
        characters += 80 + estimatedCharacters(list);
    }
    return characters;
}

} // namespace

ProfileResult SaveProfile(const ConfigDocument& doc, const std::string& path) {
    CXmlDocument xml;
    xml.setDocument(kDeclaration);
    xml.reserve(estimatedCharacters(doc));
    ProfileWriter writer(xml);
    std::string model = ModelName(doc.modelType);
    xml.addElement(utf8ToUtf16(model));
    xml.enterElement();
    const RecordList* libraries[] = {&doc.predefinedCombos, &doc.predefinedMacros, &doc.predefinedEmulations};
    for (std::size_t i = 0; i < 3; ++i) {
        xml.addElement(kLibrarySections[i]);
        xml.enterElement();
        writer.list(*libraries[i]);
        xml.leaveElement();
    }
    xml.addElement(u"BackgroundLightSettings");
    xml.enterElement();
    for (int key = 1; key <= kKeyCount; ++key) {
        const Rgb& colour = doc.keyColours[static_cast<std::size_t>(key)];
        const Decimal id(key);
        const Decimal red(colour[0]);
        const Decimal green(colour[1]);
        const Decimal blue(colour[2]);
        const XmlAttribute area[] = {
            {u"ID", id.view()}, {u"Red", red.view()}, {u"Green", green.view()}, {u"Blue", blue.view()}};
        xml.addElement(u"AREA", area);
    }
    xml.leaveElement();
    xml.addElement(u"CurrentSettings");
    xml.enterElement();
    for (int key = 1; key <= kKeyCount; ++key) {
        for (int level = 0; level <= 1; ++level) {
            auto slot = static_cast<std::size_t>(2 * key + level);
            const Decimal id(key);
            const Decimal layer(level);
            const Decimal mode(doc.keyMode[slot]);
            const Decimal code(doc.keyCode[slot]);
            const XmlAttribute attributes[] = {{u"ID", id.view()},
                                               {u"Level", layer.view()},
                                               {u"Mode", mode.view()},
                                               {u"HWCode", code.view()}};
            xml.addElement(u"KEY", attributes);
            xml.enterElement();
            xml.addElement(u"ComboKey");
            xml.enterElement();
            writer.list(doc.keyLists[slot]);
            xml.leaveElement();
            xml.leaveElement();
        }
    }
    xml.leaveElement();
    xml.leaveElement();

    if (!xml.saveFile(path)) {
        return {ProfileError::CannotWrite, DescribeXmlProblem(xml)};
    }
    return {};
}

ProfileResult LoadProfile(ConfigDocument& doc, const std::string& path) {
    CXmlDocument xml;
    if (!xml.loadFile(path)) {
        return {ProfileError::CannotRead, DescribeXmlProblem(xml)};
    }
    if (!xml.isWellFormed()) {
        return {ProfileError::NotWellFormed, DescribeXmlProblem(xml)};
    }
    xml.resetPosition();
    std::string model = ModelName(doc.modelType);
    if (!xml.findElement(utf8ToUtf16(model))) {
        // Well formed, so there is exactly one root: name the model it is for.
        xml.resetPosition();
        xml.findElement(u"");
        return {ProfileError::WrongModel, "root element " + utf16ToUtf8(xml.currentElementName())};
    }
    xml.enterElement();

    auto content = std::make_unique<ProfileContent>();
    startFromFactory(doc, *content);
    ProfileReader reader(xml);
    for (std::size_t i = 0; i < 3; ++i) {
        reader.section(kLibrarySections[i], content->libraries[i]);
    }
    readColours(xml, reader, *content);
    readKeys(xml, reader, *content);
    if (std::string why = checkValues(*content); !why.empty()) {
        return {ProfileError::BadValue, why};
    }
    commit(doc, *content);
    return {};
}

ProfileResult LoadProfileOfItsModel(ConfigDocument& doc, const std::string& path) {
    const int before = doc.modelType;
    ProfileResult result;
    for (const int model : {1, 2, 3, 4}) {
        doc.modelType = model;
        result = LoadProfile(doc, path);
        if (result.error != ProfileError::WrongModel) {
            break;
        }
    }
    if (!result) {
        doc.modelType = before;
    }
    return result;
}
