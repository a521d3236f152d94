#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One result entry: an empty element with up to three attributes, always in
// the order text, number, second number.
struct XmlResultEntry {
    std::u16string_view name;
    std::u16string_view textName = {};
    std::u16string_view text = {};
    std::u16string_view numberName = {};
    long long number = 0;
    bool hasOffset2 = false;
    long long offset2 = 0;
};

// The result text of the XML component and the text-file layer: entries
// follow each other without line breaks.  The text is capped so that a
// broken document cannot make it grow without bound.
class XmlResult {
public:
    static constexpr std::size_t kCap = 999;
    static constexpr std::size_t kDropped = std::u16string::npos;

    void clear() { text_.clear(); }
    const std::u16string& text() const { return text_; }

    // Position of the new entry in the text, or kDropped past the cap.
    std::size_t add(const XmlResultEntry& entry);
    // Rewrites an entry added earlier (kDropped is ignored).
    void replace(std::size_t position, const XmlResultEntry& entry);

private:
    static std::u16string format(const XmlResultEntry& entry);
    std::u16string text_;
};

// Attribute escaping: the five characters " & ' < > become references.
std::u16string escapeXmlAttribute(std::u16string_view value);
void appendEscapedXmlAttribute(std::u16string& out, std::u16string_view value);
