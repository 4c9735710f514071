#include "Base64.h"

#include <array>

namespace gltf {
namespace {

constexpr std::string_view dataPrefix = "data:";
constexpr std::string_view base64Marker = ";base64,";
constexpr std::uint8_t notInAlphabet = 0xFF;

constexpr std::array<std::uint8_t, 256> makeSextetTable() {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::array<std::uint8_t, 256> table{};
    table.fill(notInAlphabet);
    for (std::size_t value = 0; value < alphabet.size(); ++value) {
        table[static_cast<unsigned char>(alphabet[value])] = static_cast<std::uint8_t>(value);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> sextetOf = makeSextetTable();

// Padding may only fill the last one or two characters of the text.
std::size_t paddingLength(std::string_view text) {
    if (text.ends_with("==")) {
        return 2;
    }
    return text.ends_with('=') ? 1 : 0;
}

} // namespace

std::optional<std::string_view> dataUriPayload(std::string_view uri) {
    const std::size_t marker = uri.rfind(base64Marker);
    if (!uri.starts_with(dataPrefix) || marker == std::string_view::npos) {
        return std::nullopt;
    }
    return uri.substr(marker + base64Marker.size());
}

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    const std::size_t padding = paddingLength(text);
    const std::string_view digits = text.substr(0, text.size() - padding);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() * 3 / 4);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char digit : digits) {
        const std::uint8_t sextet = sextetOf[static_cast<unsigned char>(digit)];
        if (sextet == notInAlphabet) {
            return std::nullopt;
        }
        bits = (bits << 6 | sextet) & 0xFFFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> bitCount));
        }
    }
    return bytes;
}

} // namespace gltf
