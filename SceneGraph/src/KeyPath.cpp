#include "KeyPathFailure.h"

#include <SceneGraph/KeyPath.h>
#include <charconv>

namespace scene {

using detail::failKeyPath;

void detail::failKeyPath(std::string_view keyPath, const std::string& reason) {
    throw KeyPathError("key path \"" + std::string(keyPath) + "\": " + reason);
}

namespace {

std::size_t parseSubscript(std::string_view digits, std::string_view keyPath) {
    std::size_t index = 0;
    const auto* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, index);
    if (digits.empty() || result.ec != std::errc() || result.ptr != end) {
        failKeyPath(keyPath,
                    "subscript [" + std::string(digits) + "] is not a non-negative integer");
    }
    return index;
}

KeyPathComponent parseComponent(std::string_view text, std::string_view keyPath) {
    if (text.empty()) {
        failKeyPath(keyPath, "empty component");
    }
    if (text.front() == '/') {
        if (text.size() == 1) {
            failKeyPath(keyPath, "\"/\" needs a node name after it");
        }
        return {std::string(text.substr(1)), std::nullopt, true};
    }
    const auto open = text.find('[');
    if (open == std::string_view::npos) {
        return {std::string(text), std::nullopt, false};
    }
    if (open == 0 || text.back() != ']') {
        failKeyPath(keyPath, "malformed subscript in \"" + std::string(text) + "\"");
    }
    const auto digits = text.substr(open + 1, text.size() - open - 2);
    return {std::string(text.substr(0, open)), parseSubscript(digits, keyPath), false};
}

} // namespace

std::vector<KeyPathComponent> parseKeyPath(std::string_view keyPath) {
    std::vector<KeyPathComponent> components;
    std::size_t start = 0;
    while (true) {
        const auto dot = keyPath.find('.', start);
        const auto length = dot == std::string_view::npos ? std::string_view::npos : dot - start;
        components.push_back(parseComponent(keyPath.substr(start, length), keyPath));
        if (dot == std::string_view::npos) {
            return components;
        }
        start = dot + 1;
    }
}

} // namespace scene
