#pragma once

#include <span>
#include <string_view>

struct EncodingName {
    std::string_view name; // lower case
    int codePage;
};

// The encoding names that a text file may declare, sorted by name.
std::span<const EncodingName> encodingNames();
