#include "ValueDecoder.h"
#include "ValueTraits.h"

#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/CrateElementTypes.h>
#include <USD/codec/FloatArrayCompression.h>

namespace usd::crate {

namespace {

constexpr Version kRankWordDroppedVersion{0, 5, 0};
constexpr Version kCompressedIntegersVersion{0, 5, 0};
constexpr Version kCompressedFloatsVersion{0, 6, 0};
constexpr Version kWideCountsVersion{0, 7, 0};
// Shorter arrays are always stored raw, even when marked compressed.
constexpr std::uint64_t kMinCompressedCount = 16;

} // namespace

std::uint64_t ValueDecoder::readArrayCount(ByteReader& reader) {
    if (version_ < kRankWordDroppedVersion) {
        reader.read<std::uint32_t>(); // rank, always 1
    }
    return version_ < kWideCountsVersion ? reader.read<std::uint32_t>()
                                         : reader.read<std::uint64_t>();
}

template <typename T> Array<T> ValueDecoder::readArrayElements(ByteReader& reader, ValueRep rep) {
    const std::uint64_t count = readArrayCount(reader);
    if (!rep.isCompressed() || count < kMinCompressedCount) {
        return readElements<T>(reader, count);
    }
    if constexpr (CodedInteger<T>) {
        if (version_ >= kCompressedIntegersVersion) {
            budget_.charge(count * sizeof(T));
            return readCompressedIntegers<T>(reader, count);
        }
    } else if constexpr (CompressibleFloat<T>) {
        if (version_ >= kCompressedFloatsVersion) {
            budget_.charge(count * sizeof(T));
            return readCompressedFloatArray<T>(reader, count);
        }
    }
    throw FormatError("array of type " + std::to_string(static_cast<int>(ElementType<T>::type)) +
                      " is marked compressed, which this file version does not allow");
}

template <typename T>
std::vector<T> ValueDecoder::readElements(ByteReader& reader, std::uint64_t count) {
    if constexpr (kIsIndexedElement<T>) {
        reader.requireElements(count, sizeof(std::uint32_t));
        budget_.charge(count * sizeof(T));
        std::vector<T> elements;
        elements.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto index = reader.read<std::uint32_t>();
            // Array elements, asset paths included, name strings (scalar asset paths are
            // inlined token indexes and never come here).
            if constexpr (std::is_same_v<T, std::string>) {
                elements.push_back(string(index));
            } else if constexpr (std::is_same_v<T, Token>) {
                elements.push_back(Token{token(index)});
            } else if constexpr (std::is_same_v<T, AssetPath>) {
                elements.push_back(AssetPath{string(index)});
            } else {
                elements.push_back(PathExpression{string(index)});
            }
        }
        return elements;
    } else if constexpr (std::is_same_v<T, bool>) {
        reader.requireElements(count, 1);
        budget_.charge(count);
        const auto bytes = reader.readBytes(count);
        std::vector<bool> elements(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            elements[i] = bytes[i] != 0;
        }
        return elements;
    } else {
        reader.requireElements(count, sizeof(T));
        budget_.charge(count * sizeof(T));
        return reader.readVector<T>(count);
    }
}

#define USD_INSTANTIATE_ELEMENTS(T)                                                                \
    template std::vector<T> ValueDecoder::readElements<T>(ByteReader&, std::uint64_t);
USD_FOR_EACH_ELEMENT_TYPE(USD_INSTANTIATE_ELEMENTS)
#undef USD_INSTANTIATE_ELEMENTS

// Below the element readers so that every compiler sees their definitions first.
Value ValueDecoder::decodeArray(ValueRep rep) {
    auto array = visitElementType(rep.type(), [&]<typename T>(std::type_identity<T>) -> Value {
        if (rep.payload() == 0) {
            return Array<T>{};
        }
        ByteReader reader(file_, rep.payload());
        return readArrayElements<T>(reader, rep);
    });
    if (!array) {
        throw FormatError("type " + std::to_string(static_cast<int>(rep.type())) +
                          " cannot form an array");
    }
    return std::move(*array);
}

} // namespace usd::crate
