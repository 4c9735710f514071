#include <USD/layer/Path.h>
#include <algorithm>

namespace usd {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isUtf8Byte(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}
bool isIdentifierChar(char c) {
    return isAsciiLetter(c) || isDigit(c) || c == '_' || isUtf8Byte(c);
}

[[noreturn]] void throwInvalid(std::string_view what, std::string_view text) {
    throw PathError(std::string(what) + ": \"" + std::string(text) + "\"");
}

// Reads the element starting at text[pos] up to (not including) the next separator.
std::string_view elementAt(std::string_view text, std::size_t pos) {
    const auto end = text.find_first_of("/.{", pos);
    return text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
}

Path appendVariantText(const Path& path, std::string_view text, std::size_t& pos) {
    const auto close = text.find('}', pos);
    if (close == std::string_view::npos) {
        throwInvalid("unterminated variant selection", text);
    }
    const std::string_view inner = text.substr(pos + 1, close - pos - 1);
    const auto equals = inner.find('=');
    if (equals == std::string_view::npos) {
        throwInvalid("variant selection without '='", text);
    }
    pos = close + 1;
    return path.appendVariantSelection(inner.substr(0, equals), inner.substr(equals + 1));
}

} // namespace

Path Path::absoluteRoot() {
    return Path("/");
}

Path Path::fromString(std::string_view text) {
    if (text.empty() || text.front() != '/') {
        throwInvalid("a path must be absolute", text);
    }
    Path path = absoluteRoot();
    if (text.size() == 1) {
        return path;
    }
    std::size_t pos = 0;
    char separator = '/';
    while (pos < text.size()) {
        if (separator == '{') {
            path = appendVariantText(path, text, pos);
        } else {
            const std::size_t nameStart = pos + 1;
            // Property names carry ':' namespaces but never another separator.
            const auto name =
                separator == '.' ? text.substr(nameStart) : elementAt(text, nameStart);
            path = separator == '.' ? path.appendProperty(name) : path.appendChild(name);
            pos = nameStart + name.size();
        }
        if (pos < text.size()) {
            separator = text[pos];
            if (separator != '/' && separator != '.' && separator != '{') {
                throwInvalid("unexpected character in path", text);
            }
        }
    }
    return path;
}

bool Path::isValidIdentifier(std::string_view name) {
    return !name.empty() && !isDigit(name.front()) &&
           std::all_of(name.begin(), name.end(), isIdentifierChar);
}

bool Path::isValidPropertyName(std::string_view name) {
    std::size_t start = 0;
    while (true) {
        const auto colon = name.find(':', start);
        if (!isValidIdentifier(name.substr(start, colon - start))) {
            return false;
        }
        if (colon == std::string_view::npos) {
            return true;
        }
        start = colon + 1;
    }
}

bool Path::isValidVariantName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return isIdentifierChar(c) || c == '-' || c == '|';
    });
}

Path Path::appendChild(std::string_view primName) const {
    if (!isValidIdentifier(primName)) {
        throwInvalid("invalid prim name", primName);
    }
    if (isAbsoluteRoot()) {
        return Path("/" + std::string(primName));
    }
    if (!isPrimPath() || isVariantSetPath()) {
        throwInvalid("a prim can only be a child of the root, a prim or a variant", text_);
    }
    return Path(text_ + "/" + std::string(primName));
}

Path Path::appendProperty(std::string_view propertyName) const {
    if (!isValidPropertyName(propertyName)) {
        throwInvalid("invalid property name", propertyName);
    }
    if (!isPrimPath() || isVariantSetPath()) {
        throwInvalid("a property can only belong to a prim or a variant", text_);
    }
    return Path(text_ + "." + std::string(propertyName));
}

Path Path::appendVariantSelection(std::string_view variantSet, std::string_view variant) const {
    const std::string selection = std::string(variantSet) + "=" + std::string(variant);
    if (!isValidVariantName(variantSet) || (!variant.empty() && !isValidVariantName(variant))) {
        throwInvalid("invalid variant selection", selection);
    }
    if (!isPrimPath() || isVariantSetPath()) {
        throwInvalid("a variant selection can only follow a prim or a variant", text_);
    }
    return Path(text_ + "{" + selection + "}");
}

bool Path::isPropertyPath() const {
    return text_.find('.') != std::string::npos;
}

bool Path::isVariantSelectionPath() const {
    return text_.ends_with('}');
}

std::size_t Path::lastElementStart() const {
    if (isPropertyPath()) {
        return text_.rfind('.');
    }
    if (isVariantSelectionPath()) {
        return text_.rfind('{');
    }
    return text_.rfind('/');
}

Path Path::parent() const {
    if (isEmpty() || isAbsoluteRoot()) {
        return Path();
    }
    const std::size_t start = lastElementStart();
    return start == 0 ? absoluteRoot() : Path(text_.substr(0, start));
}

std::string_view Path::name() const {
    if (isEmpty() || isAbsoluteRoot()) {
        return {};
    }
    const std::string_view text = text_;
    const std::size_t start = lastElementStart() + 1;
    const std::size_t end = isVariantSelectionPath() ? text.size() - 1 : text.size();
    return text.substr(start, end - start);
}

Path Path::primPath() const {
    return isPropertyPath() ? parent() : *this;
}

} // namespace usd
