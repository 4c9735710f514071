#include "PercentDecoding.h"

#include <cctype>

namespace modelimporter {
namespace {

int hexDigitValue(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isdigit(byte) ? c - '0' : std::tolower(byte) - 'a' + 10;
}

bool isEscapeAt(const std::string& text, std::size_t i) {
    return text[i] == '%' && i + 2 < text.size() &&
           std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
           std::isxdigit(static_cast<unsigned char>(text[i + 2]));
}

} // namespace

std::string percentDecoded(const std::string& text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isEscapeAt(text, i)) {
            decoded +=
                static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

} // namespace modelimporter
