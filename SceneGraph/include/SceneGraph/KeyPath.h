#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

/// A key path that does not parse, does not resolve on its node, or cannot take a value.
class KeyPathError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// One step of a key path: a key with an optional subscript ("childNodes[2]", "position"),
/// or a search for the first descendant with a name ("/Hips").
struct KeyPathComponent {
    std::string key;
    std::optional<std::size_t> index;
    bool searchesDescendants = false;

    friend bool operator==(const KeyPathComponent&, const KeyPathComponent&) = default;
};

/// Splits "a.b[3]./Name.c" into its components. Fails with KeyPathError on an empty
/// component or a malformed subscript.
std::vector<KeyPathComponent> parseKeyPath(std::string_view keyPath);

} // namespace scene
