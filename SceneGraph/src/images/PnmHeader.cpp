#include "images/PnmHeader.h"

#include <cstddef>
#include <limits>

namespace scene::detail {
namespace {

bool isSpace(std::uint8_t byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
           byte == '\r';
}

bool isDigit(std::uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

// Skips white space and comments (from '#' to the end of the line) as the decoder does.
std::size_t skipSpace(std::span<const std::uint8_t> bytes, std::size_t at) {
    for (;;) {
        while (at < bytes.size() && isSpace(bytes[at]))
            ++at;
        if (at >= bytes.size() || bytes[at] != '#')
            return at;
        while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r')
            ++at;
    }
}

} // namespace

PnmHeader readPnmHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6'))
        return {};
    PnmHeader header{.isPnm = true};
    constexpr int kLargest = std::numeric_limits<int>::max();
    std::size_t at = 2;
    // Width, height and the largest sample value.
    for (int number = 0; number < 3; ++number) {
        at = skipSpace(bytes, at);
        int value = 0;
        for (; at < bytes.size() && isDigit(bytes[at]); ++at) {
            const int digit = bytes[at] - '0';
            if (value > (kLargest - digit) / 10) {
                header.numbersFit = false;
                return header;
            }
            value = value * 10 + digit;
        }
        header.largestSample = value;
    }
    return header;
}

} // namespace scene::detail
