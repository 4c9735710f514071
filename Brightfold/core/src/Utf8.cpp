#include <Brightfold/Utf8.h>
#include <cstddef>
#include <cstdint>

namespace brightfold {
namespace {

struct SequenceShape {
    std::size_t length;      // total bytes, 0 when the lead byte is invalid
    std::uint8_t secondLow;  // allowed range of the second byte, narrower than 0x80-0xBF
    std::uint8_t secondHigh; // where over-long forms, surrogates or > U+10FFFF would start
};

SequenceShape shapeOf(std::uint8_t lead) {
    if (lead < 0x80) {
        return {1, 0, 0};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (lead == 0xE0) {
        return {3, 0xA0, 0xBF};
    }
    if (lead == 0xED) {
        return {3, 0x80, 0x9F};
    }
    if (lead >= 0xE1 && lead <= 0xEF) {
        return {3, 0x80, 0xBF};
    }
    if (lead == 0xF0) {
        return {4, 0x90, 0xBF};
    }
    if (lead >= 0xF1 && lead <= 0xF3) {
        return {4, 0x80, 0xBF};
    }
    if (lead == 0xF4) {
        return {4, 0x80, 0x8F};
    }
    return {0, 0, 0};
}

bool isContinuation(std::uint8_t byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

bool isValidSequence(std::string_view bytes, std::size_t start, const SequenceShape& shape) {
    if (shape.length == 0 || start + shape.length > bytes.size()) {
        return false;
    }
    if (shape.length == 1) {
        return true;
    }
    const auto second = static_cast<std::uint8_t>(bytes[start + 1]);
    if (second < shape.secondLow || second > shape.secondHigh) {
        return false;
    }
    for (std::size_t i = 2; i < shape.length; ++i) {
        if (!isContinuation(static_cast<std::uint8_t>(bytes[start + i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t position = 0;
    while (position < bytes.size()) {
        const SequenceShape shape = shapeOf(static_cast<std::uint8_t>(bytes[position]));
        if (!isValidSequence(bytes, position, shape)) {
            return false;
        }
        position += shape.length;
    }
    return true;
}

} // namespace brightfold
