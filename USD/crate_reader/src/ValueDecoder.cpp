#include "ValueDecoder.h"

#include "ValueTraits.h"

#include <USD/codec/CrateElementTypes.h>
#include <algorithm>
#include <bit>

namespace usd::crate {

namespace {

constexpr std::size_t kMaxNesting = 32;

bool isAlwaysInlined(Type type) {
    switch (type) {
    case Type::Bool:
    case Type::UChar:
    case Type::Int:
    case Type::UInt:
    case Type::Half:
    case Type::Float:
    case Type::Vec2h:
    case Type::String:
    case Type::Token:
    case Type::AssetPath:
    case Type::Specifier:
    case Type::Permission:
    case Type::Variability:
    case Type::ValueBlock:
        return true;
    default:
        return false;
    }
}

std::string typeText(Type type) {
    return std::to_string(static_cast<int>(type));
}

template <typename C> C fromSmallInteger(std::int8_t value) {
    if constexpr (std::is_same_v<C, Half>) {
        return Half::fromFloat(value);
    } else {
        return static_cast<C>(value);
    }
}

std::int8_t inlineByte(std::uint32_t word, std::size_t index) {
    return static_cast<std::int8_t>((word >> (8 * index)) & 0xFF);
}

Value decodeEnum(Type type, std::uint32_t word) {
    if (type == Type::Specifier && word <= 2) {
        return static_cast<Specifier>(word);
    }
    if (type == Type::Permission && word <= 1) {
        return static_cast<Permission>(word);
    }
    if (type == Type::Variability && word <= 2) {
        // 2 is the legacy "config" variability, which means uniform today.
        return word == 0 ? Variability::Varying : Variability::Uniform;
    }
    throw FormatError("value " + std::to_string(word) + " is not valid for type " + typeText(type));
}

} // namespace

Value ValueDecoder::decode(ValueRep rep) {
    budget_.charge(sizeof(Value));
    if (rep.isArrayEdit()) {
        throw FormatError("array edit values are not supported");
    }
    if (rep.isArray()) {
        return decodeArray(rep);
    }
    if (isAlwaysInlined(rep.type()) || rep.isInlined()) {
        return decodeInlined(rep);
    }
    return decodeOutOfLine(rep);
}

template <typename T> T ValueDecoder::inlineElement(std::uint32_t word) {
    if constexpr (std::is_same_v<T, bool>) {
        return (word & 0xFF) != 0;
    } else if constexpr (std::is_same_v<T, std::uint8_t>) {
        return static_cast<std::uint8_t>(word);
    } else if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>) {
        return static_cast<std::int32_t>(word);
    } else if constexpr (std::is_same_v<T, std::uint32_t> || std::is_same_v<T, std::uint64_t>) {
        return word;
    } else if constexpr (std::is_same_v<T, Half>) {
        return Half{static_cast<std::uint16_t>(word)};
    } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
        return std::bit_cast<float>(word);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return string(word);
    } else if constexpr (std::is_same_v<T, Token>) {
        return Token{token(word)};
    } else if constexpr (std::is_same_v<T, AssetPath>) {
        return AssetPath{token(word)}; // scalars name the token, unlike array elements
    } else if constexpr (std::is_same_v<T, PathExpression>) {
        return PathExpression{string(word)};
    } else if constexpr (std::is_same_v<T, Vec2h>) {
        return Vec2h{Half{static_cast<std::uint16_t>(word)},
                     Half{static_cast<std::uint16_t>(word >> 16)}};
    } else if constexpr (IsVector<T>::value) {
        T vector{};
        for (std::size_t i = 0; i < IsVector<T>::size; ++i) {
            vector[i] = fromSmallInteger<typename IsVector<T>::Component>(inlineByte(word, i));
        }
        return vector;
    } else if constexpr (IsMatrix<T>::value) {
        constexpr std::size_t n = IsMatrix<T>::size;
        T matrix{};
        for (std::size_t i = 0; i < n; ++i) {
            matrix.rowMajor[i * n + i] = inlineByte(word, i);
        }
        return matrix;
    } else {
        throw FormatError("a value of type " + typeText(ElementType<T>::type) +
                          " cannot be inlined");
    }
}

Value ValueDecoder::decodeInlined(ValueRep rep) {
    const Type type = rep.type();
    const std::uint32_t word = rep.inlineWord();
    auto element = visitElementType(
        type, [&]<typename T>(std::type_identity<T>) { return Value(inlineElement<T>(word)); });
    if (element) {
        return std::move(*element);
    }
    switch (type) {
    case Type::Specifier:
    case Type::Permission:
    case Type::Variability:
        return decodeEnum(type, word);
    case Type::ValueBlock:
        return ValueBlock{};
    case Type::Dictionary:
        return Dictionary{};
    default:
        throw FormatError("a value of type " + typeText(type) + " cannot be inlined");
    }
}

Value ValueDecoder::decodeOutOfLine(ValueRep rep) {
    ByteReader reader(file_, rep.payload());
    auto element = visitElementType(rep.type(), [&]<typename T>(std::type_identity<T>) {
        std::vector<T> elements = readElements<T>(reader, 1);
        return Value(T(std::move(elements.front())));
    });
    if (element) {
        return std::move(*element);
    }
    return decodeCompound(rep.type(), reader);
}

Value ValueDecoder::decodeNested(ValueRep rep) {
    if (unpacking_.size() >= kMaxNesting) {
        throw FormatError("values are nested more than " + std::to_string(kMaxNesting) +
                          " levels deep");
    }
    if (std::find(unpacking_.begin(), unpacking_.end(), rep.bits()) != unpacking_.end()) {
        throw FormatError("a value contains itself");
    }
    unpacking_.push_back(rep.bits());
    try {
        Value value = decode(rep);
        unpacking_.pop_back();
        return value;
    } catch (...) {
        unpacking_.pop_back();
        throw;
    }
}

const std::string& ValueDecoder::token(std::uint64_t index) {
    if (index >= tables_.tokens.size()) {
        throw FormatError("token index " + std::to_string(index) + " is out of range (" +
                          std::to_string(tables_.tokens.size()) + " tokens)");
    }
    budget_.charge(tables_.tokens[index].size());
    return tables_.tokens[index];
}

const std::string& ValueDecoder::string(std::uint64_t index) {
    if (index >= tables_.strings.size()) {
        throw FormatError("string index " + std::to_string(index) + " is out of range (" +
                          std::to_string(tables_.strings.size()) + " strings)");
    }
    return token(tables_.strings[index]);
}

const Path& ValueDecoder::path(std::uint64_t index) {
    if (index >= tables_.paths.size()) {
        throw FormatError("path index " + std::to_string(index) + " is out of range (" +
                          std::to_string(tables_.paths.size()) + " paths)");
    }
    budget_.charge(tables_.paths[index].text().size());
    return tables_.paths[index];
}

} // namespace usd::crate
