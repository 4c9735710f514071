#include "DocumentFiles.h"

#include <GLTFReader/FileReading.h>
#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace gltf {
namespace {

std::filesystem::path resolvedPath(const std::optional<std::filesystem::path>& directoryPath,
                                   std::string_view uri) {
    return directoryPath ? *directoryPath / uri : std::filesystem::path(uri);
}

std::optional<int> hexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return std::nullopt;
}

// The uri with every "%XY" replaced by the byte XY; nothing when it has no such escape or a
// "%" that does not start one.
std::optional<std::string> percentDecoded(std::string_view uri) {
    if (uri.find('%') == std::string_view::npos) {
        return std::nullopt;
    }
    std::string decoded;
    for (std::size_t at = 0; at < uri.size(); ++at) {
        if (uri[at] != '%') {
            decoded += uri[at];
            continue;
        }
        const std::optional<int> high =
            at + 2 < uri.size() ? hexDigitValue(uri[at + 1]) : std::nullopt;
        const std::optional<int> low = high ? hexDigitValue(uri[at + 2]) : std::nullopt;
        if (!low) {
            return std::nullopt;
        }
        decoded += static_cast<char>(*high * 16 + *low);
        at += 2;
    }
    return decoded;
}

// "scheme:" at the start of a reference: a letter, then letters, digits, "+", "-" or ".".
bool hasScheme(std::string_view reference) {
    const std::size_t colon = reference.find(':');
    if (colon == std::string_view::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(reference[0]))) {
        return false;
    }
    return std::all_of(reference.begin(), reference.begin() + colon, [](char character) {
        return std::isalnum(static_cast<unsigned char>(character)) || character == '+' ||
               character == '-' || character == '.';
    });
}

bool isRelativePath(std::string_view reference) {
    return !reference.empty() && reference.front() != '/' && reference.front() != '\\' &&
           !hasScheme(reference);
}

// A document may only name files by paths relative to itself: an absolute path or a URI of
// another scheme could copy any file of the user into the package they then share. Paths
// that climb with ".." stay allowed, as asset libraries share textures that way.
void refuseUnlessRelative(std::string_view uri) {
    const std::optional<std::string> decoded = percentDecoded(uri);
    if (!isRelativePath(uri) || (decoded && !isRelativePath(*decoded))) {
        throw FileError("the file reference \"" + std::string(uri) +
                        "\" is refused: only base64 data URIs and paths relative to the document "
                        "are read");
    }
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

ByteBlock readRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        throw FileError("cannot read the file \"" + path.string() + "\": not a regular file");
    }
    return readWholeFile(path);
}

} // namespace

ByteBlock readReferencedFile(const std::optional<std::filesystem::path>& directoryPath,
                             std::string_view uri) {
    refuseUnlessRelative(uri);
    const std::filesystem::path asWritten = resolvedPath(directoryPath, uri);
    if (fileExists(asWritten)) {
        return readRegularFile(asWritten);
    }
    const std::optional<std::string> decoded = percentDecoded(uri);
    const bool decodedExists = decoded && fileExists(resolvedPath(directoryPath, *decoded));
    // A missing file is reported under the name the document gives.
    return readRegularFile(decodedExists ? resolvedPath(directoryPath, *decoded) : asWritten);
}

} // namespace gltf
