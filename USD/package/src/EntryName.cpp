#include "EntryName.h"

#include <cctype>
#include <cstdio>

namespace usd {
namespace {

bool isControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool startsWithDriveLetter(std::string_view name) {
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

std::optional<std::string> componentProblem(std::string_view component) {
    if (component.empty())
        return "has an empty path component";
    if (component == "." || component == "..")
        return "contains a '" + std::string(component) + "' path component";
    return std::nullopt;
}

} // namespace

std::optional<std::string> entryNameProblem(std::string_view name) {
    if (name.empty())
        return "is empty";
    for (char c : name) {
        if (isControlCharacter(c))
            return "contains control characters";
        if (c == '\\')
            return "contains a backslash";
    }
    if (name.front() == '/')
        return "is an absolute path";
    if (startsWithDriveLetter(name))
        return "starts with a drive letter";
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (auto problem = componentProblem(name.substr(start, end - start)))
            return problem;
        start = end + 1;
    }
    return std::nullopt;
}

std::string quotedEntryName(std::string_view name) {
    std::string quoted = "'";
    for (char c : name) {
        if (isControlCharacter(c)) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

bool isLayerFileName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    return extension == "usd" || extension == "usda" || extension == "usdc";
}

} // namespace usd
