#include "PrimNames.h"

namespace usd::writer {
namespace {

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string sanitizedPrimName(std::string_view name, std::string_view fallback) {
    if (name.empty())
        return std::string(fallback);
    std::string result;
    result.reserve(name.size() + 1);
    if (isDigit(name.front()))
        result += '_';
    for (const char c : name) {
        // One '_' for a whole multi-byte UTF-8 character: its continuation bytes add nothing.
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80)
            continue;
        result += isNameCharacter(c) ? c : '_';
    }
    return result;
}

std::string SiblingNames::claim(std::string_view wanted, std::string_view fallback) {
    const std::string base = sanitizedPrimName(wanted, fallback);
    std::string name = base;
    for (int suffix = 1; taken_.contains(name); ++suffix)
        name = base + "_" + std::to_string(suffix);
    taken_.insert(name);
    return name;
}

} // namespace usd::writer
