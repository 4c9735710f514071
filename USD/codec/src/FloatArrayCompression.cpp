#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FloatArrayCompression.h>
#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>

namespace usd {

namespace {

constexpr std::size_t kMaxLookupTableSize = 1024;

template <CompressibleFloat T> double toDouble(T value) {
    if constexpr (std::same_as<T, Half>) {
        return value.toFloat();
    } else {
        return value;
    }
}

template <CompressibleFloat T> T fromInt(std::int32_t value) {
    if constexpr (std::same_as<T, Half>) {
        return Half::fromFloat(static_cast<float>(value));
    } else {
        return static_cast<T>(value);
    }
}

// Compared bit for bit so that -0.0 and NaN payloads survive compression unchanged.
template <CompressibleFloat T> auto bitsOf(T value) {
    if constexpr (std::same_as<T, Half>) {
        return value.bits;
    } else if constexpr (std::same_as<T, float>) {
        return std::bit_cast<std::uint32_t>(value);
    } else {
        return std::bit_cast<std::uint64_t>(value);
    }
}

template <CompressibleFloat T> std::optional<std::int32_t> asWholeNumber(T value) {
    const double number = toDouble(value);
    if (!(number >= std::numeric_limits<std::int32_t>::min() &&
          number <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    const auto whole = static_cast<std::int32_t>(number);
    if (bitsOf(fromInt<T>(whole)) != bitsOf(value)) {
        return std::nullopt;
    }
    return whole;
}

template <typename Integer>
void appendBlock(std::vector<std::uint8_t>& out, std::span<const Integer> values) {
    const std::vector<std::uint8_t> block = compressIntegerBlock(values);
    out.insert(out.end(), block.begin(), block.end());
}

template <CompressibleFloat T>
std::optional<std::vector<std::uint8_t>> compressWholeNumbers(std::span<const T> values) {
    std::vector<std::int32_t> wholes;
    wholes.reserve(values.size());
    for (const T value : values) {
        const auto whole = asWholeNumber(value);
        if (!whole) {
            return std::nullopt;
        }
        wholes.push_back(*whole);
    }
    std::vector<std::uint8_t> out{kWholeNumberFloatCode};
    appendBlock<std::int32_t>(out, wholes);
    return out;
}

template <CompressibleFloat T>
std::optional<std::vector<std::uint8_t>> compressWithLookupTable(std::span<const T> values) {
    const std::size_t maxTableSize = std::min(values.size() / 4, kMaxLookupTableSize);
    std::vector<T> table;
    std::unordered_map<decltype(bitsOf(T{})), std::uint32_t> indexOfBits;
    std::vector<std::uint32_t> indexes;
    indexes.reserve(values.size());
    for (const T value : values) {
        auto [it, inserted] =
            indexOfBits.try_emplace(bitsOf(value), static_cast<std::uint32_t>(table.size()));
        if (inserted) {
            if (table.size() == maxTableSize) {
                return std::nullopt;
            }
            table.push_back(value);
        }
        indexes.push_back(it->second);
    }
    const auto tableSize = static_cast<std::uint32_t>(table.size());
    std::vector<std::uint8_t> out{kLookupTableFloatCode};
    const auto* sizeBytes = reinterpret_cast<const std::uint8_t*>(&tableSize);
    out.insert(out.end(), sizeBytes, sizeBytes + sizeof tableSize);
    const auto* tableBytes = reinterpret_cast<const std::uint8_t*>(table.data());
    out.insert(out.end(), tableBytes, tableBytes + table.size() * sizeof(T));
    appendBlock<std::uint32_t>(out, indexes);
    return out;
}

template <CompressibleFloat T>
std::vector<T> readWholeNumbers(ByteReader& reader, std::size_t count) {
    const std::vector<std::int32_t> wholes = readCompressedIntegers<std::int32_t>(reader, count);
    std::vector<T> values = sizedWithHugePages<T>(count);
    std::transform(wholes.begin(), wholes.end(), values.begin(), fromInt<T>);
    return values;
}

template <CompressibleFloat T>
std::vector<T> readLookupTable(ByteReader& reader, std::size_t count) {
    const std::vector<T> table = reader.readVector<T>(reader.read<std::uint32_t>());
    const std::vector<std::uint32_t> indexes = readCompressedIntegers<std::uint32_t>(reader, count);
    std::vector<T> values = sizedWithHugePages<T>(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (indexes[i] >= table.size()) {
            throw FormatError("float lookup index " + std::to_string(indexes[i]) +
                              " is outside its table of " + std::to_string(table.size()));
        }
        values[i] = table[indexes[i]];
    }
    return values;
}

} // namespace

template <CompressibleFloat T>
std::optional<std::vector<std::uint8_t>> compressFloatArray(std::span<const T> values) {
    if (auto whole = compressWholeNumbers(values)) {
        return whole;
    }
    return compressWithLookupTable(values);
}

template <CompressibleFloat T>
std::vector<T> readCompressedFloatArray(ByteReader& reader, std::size_t count) {
    const std::size_t codeOffset = reader.position();
    const auto code = reader.read<std::uint8_t>();
    if (code == kWholeNumberFloatCode) {
        return readWholeNumbers<T>(reader, count);
    }
    if (code == kLookupTableFloatCode) {
        return readLookupTable<T>(reader, count);
    }
    throw FormatError("unknown float array compression code " + std::to_string(code) +
                      " at offset " + std::to_string(codeOffset));
}

template std::optional<std::vector<std::uint8_t>> compressFloatArray(std::span<const Half>);
template std::optional<std::vector<std::uint8_t>> compressFloatArray(std::span<const float>);
template std::optional<std::vector<std::uint8_t>> compressFloatArray(std::span<const double>);
template std::vector<Half> readCompressedFloatArray(ByteReader&, std::size_t);
template std::vector<float> readCompressedFloatArray(ByteReader&, std::size_t);
template std::vector<double> readCompressedFloatArray(ByteReader&, std::size_t);

} // namespace usd
