#pragma once

#include <compare>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace usd {

// Thrown when a path is built from malformed text or invalid names.
class PathError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// An absolute scene-description path: "/", "/World/Mesh", "/World/Mesh.points",
// "/World{shading=red}" (a variant selection) and "/World{shading=}" (a variant set).
// The default-constructed path is the empty path, which names nothing.
class Path {
  public:
    Path() = default;

    static Path absoluteRoot();
    // Parses and validates the text; throws PathError when it is not a valid absolute path.
    static Path fromString(std::string_view text);

    // A prim name: letters, digits and '_', not starting with a digit (UTF-8 letters allowed).
    static bool isValidIdentifier(std::string_view name);
    // A property name: identifiers joined by ':' namespaces, e.g. "primvars:st".
    static bool isValidPropertyName(std::string_view name);
    // A variant set or variant name; variants may also start with a digit and use '-' or '|'.
    static bool isValidVariantName(std::string_view name);

    // Each append throws PathError when the name is invalid or the element cannot follow this
    // path (for instance a child of a property).
    Path appendChild(std::string_view primName) const;
    Path appendProperty(std::string_view propertyName) const;
    Path appendVariantSelection(std::string_view variantSet, std::string_view variant) const;

    bool isEmpty() const { return text_.empty(); }
    bool isAbsoluteRoot() const { return text_ == "/"; }
    bool isPropertyPath() const;
    bool isVariantSelectionPath() const;
    // A variant set, written as a selection with no variant: "/World{shading=}".
    bool isVariantSetPath() const { return text_.ends_with("=}"); }
    // A prim or a variant selection (which can hold prims and properties itself).
    bool isPrimPath() const { return !isEmpty() && !isAbsoluteRoot() && !isPropertyPath(); }

    // The path one element up; the root and the empty path have the empty path as parent.
    Path parent() const;
    // The last element: a prim or property name, or "set=variant" for a variant selection.
    std::string_view name() const;
    // This path without a trailing property element.
    Path primPath() const;

    const std::string& text() const { return text_; }

    friend auto operator<=>(const Path&, const Path&) = default;
    friend bool operator==(const Path&, const Path&) = default;

  private:
    explicit Path(std::string text) : text_(std::move(text)) {}
    // Index of the separator ('/', '.' or '{') that opens the last element.
    std::size_t lastElementStart() const;

    std::string text_;
};

} // namespace usd

template <> struct std::hash<usd::Path> {
    std::size_t operator()(const usd::Path& path) const noexcept {
        return std::hash<std::string>{}(path.text());
    }
};
