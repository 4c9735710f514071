#include "ScalarText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace usd::usda {
namespace {

template <typename Number> std::string shortestText(Number value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Quotes text the way text files do: backslash escapes for quotes, backslashes
// and control characters.
std::string quoted(std::string_view text, char quote) {
    std::string out(1, quote);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == quote || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + quote;
}

} // namespace

std::string scalarText(bool value) {
    return value ? "1" : "0";
}
std::string scalarText(std::uint8_t value) {
    return std::to_string(value);
}
std::string scalarText(std::int32_t value) {
    return std::to_string(value);
}
std::string scalarText(std::uint32_t value) {
    return std::to_string(value);
}
std::string scalarText(std::int64_t value) {
    return std::to_string(value);
}
std::string scalarText(std::uint64_t value) {
    return std::to_string(value);
}
std::string scalarText(float value) {
    return shortestText(value);
}
std::string scalarText(double value) {
    return shortestText(value);
}
std::string scalarText(Half value) {
    return shortestText(value.toFloat());
}
std::string scalarText(const std::string& value) {
    return quoted(value, '"');
}
std::string scalarText(const Token& value) {
    return quoted(value.text, '"');
}
std::string scalarText(const PathExpression& value) {
    return quoted(value.text, '"');
}
std::string scalarText(const TimeCode& value) {
    return shortestText(value.time);
}

std::string scalarText(const AssetPath& value) {
    // A path that itself holds '@' needs the triple delimiter.
    if (value.path.find('@') != std::string::npos)
        return "@@@" + value.path + "@@@";
    return "@" + value.path + "@";
}

std::string scalarText(const Path& value) {
    return "<" + value.text() + ">";
}

std::string scalarText(const LayerOffset& value) {
    return "(offset = " + shortestText(value.offset) + "; scale = " + shortestText(value.scale) +
           ")";
}

std::string scalarText(Specifier value) {
    switch (value) {
    case Specifier::Def:
        return "def";
    case Specifier::Over:
        return "over";
    case Specifier::Class:
        return "class";
    }
    return "specifier(" + std::to_string(static_cast<int>(value)) + ")";
}

std::string scalarText(Permission value) {
    return value == Permission::Private ? "private" : "public";
}

std::string scalarText(Variability value) {
    return value == Variability::Uniform ? "uniform" : "varying";
}

} // namespace usd::usda
