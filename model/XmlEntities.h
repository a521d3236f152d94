#pragma once

#include <span>
#include <string_view>

struct XmlEntity {
    std::string_view name;
    char32_t codePoint;
};

std::span<const XmlEntity> xmlEntities();
// Code point of a character-entity name (any letter case), 0 if unknown.
char32_t lookupXmlEntity(std::string_view name);
