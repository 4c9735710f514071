#include <Brightfold/FileURL.h>
#include <algorithm>
#include <cctype>
#include <string>

namespace brightfold {
namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool equalsIgnoringCase(std::string_view text, std::string_view other) {
    return text.size() == other.size() && startsWithIgnoringCase(text, other);
}

std::string_view withoutTrailingLineBreaks(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool hasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// What follows "file:" up to the query or fragment: "//host/path" or "/path". Only an empty
// host or "localhost" names this machine.
std::optional<std::string_view> localPathPart(std::string_view afterScheme) {
    afterScheme = afterScheme.substr(0, afterScheme.find_first_of("?#"));
    if (!afterScheme.starts_with("//")) {
        return afterScheme;
    }
    const std::string_view authorityAndPath = afterScheme.substr(2);
    const std::size_t pathStart = authorityAndPath.find('/');
    if (pathStart == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view host = authorityAndPath.substr(0, pathStart);
    const bool namesThisMachine = host.empty() || equalsIgnoringCase(host, "localhost");
    if (!namesThisMachine) {
        return std::nullopt;
    }
    return authorityAndPath.substr(pathStart);
}

std::optional<int> hexValue(char c) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
        return std::nullopt;
    }
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

std::optional<std::string> percentDecoded(std::string_view encoded) {
    std::string decoded;
    decoded.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            decoded += encoded[i];
            continue;
        }
        if (i + 2 >= encoded.size()) {
            return std::nullopt;
        }
        const auto high = hexValue(encoded[i + 1]);
        const auto low = hexValue(encoded[i + 2]);
        if (!high || !low || (*high == 0 && *low == 0)) {
            return std::nullopt;
        }
        decoded += static_cast<char>(*high * 16 + *low);
        i += 2;
    }
    return decoded;
}

} // namespace

std::optional<std::filesystem::path> parseFileURL(std::string_view text) {
    text = withoutTrailingLineBreaks(text);
    if (!startsWithIgnoringCase(text, "file:") || hasControlCharacters(text)) {
        return std::nullopt;
    }
    const auto encodedPath = localPathPart(text.substr(5));
    if (!encodedPath || !encodedPath->starts_with('/')) {
        return std::nullopt;
    }
    const auto path = percentDecoded(*encodedPath);
    if (!path) {
        return std::nullopt;
    }
    return std::filesystem::path(*path);
}

} // namespace brightfold
