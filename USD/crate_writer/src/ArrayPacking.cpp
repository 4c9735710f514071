#include "CrateTypes.h"
#include "IntegerBlocks.h"
#include "ValuePacker.h"

#include <USD/codec/FloatArrayCompression.h>

namespace usd::crate {
namespace {

// Shorter arrays are not worth compressing, and readers expect them raw.
constexpr std::size_t minCompressedCount = 16;

static_assert(sizeof(Quatd) == 32 && sizeof(Quatf) == 16 && sizeof(Quath) == 8 &&
                  sizeof(Vec3h) == 6 && sizeof(Matrix4d) == 128 && sizeof(TimeCode) == 8,
              "array elements are copied as they lie in memory");

} // namespace

template <typename T> ValueRep ValuePacker::packArray(const Array<T>& values) {
    require(versionNeededFor<T>());
    constexpr Type type = crateTypeOf<T>();
    if (values.empty())
        return ValueRep::make(type, ValueRep::kArrayBit, 0);
    const std::uint64_t count = values.size();
    constexpr std::uint64_t compressedArray = ValueRep::kArrayBit | ValueRep::kCompressedBit;
    if constexpr (CodedInteger<T>) {
        if (count >= minCompressedCount)
            return writeOutOfLine(type, compressedArray, 1, [&] {
                out_.append(count);
                appendIntegerBlock(out_, values);
            });
        return writeOutOfLine(type, ValueRep::kArrayBit, 1, [&] {
            out_.append(count);
            out_.appendElements<T>(values);
        });
    } else {
        if constexpr (CompressibleFloat<T>)
            if (count >= minCompressedCount)
                if (const auto compressed = compressFloatArray<T>(values))
                    return writeOutOfLine(type, compressedArray, 1, [&] {
                        out_.append(count);
                        out_.appendBytes(*compressed);
                    });
        // Raw arrays start at a multiple of 8 so readers can use them in place.
        if constexpr (std::is_trivially_copyable_v<T> && !std::is_same_v<T, bool>)
            return writeOutOfLine(type, ValueRep::kArrayBit, 8, [&] {
                ContentHasher hasher;
                out_.appendHashed(bytesOf(std::span<const std::uint64_t>(&count, 1)), hasher);
                out_.appendHashed(bytesOf(std::span<const T>(values)), hasher);
                return hasher.result();
            });
        return writeOutOfLine(type, ValueRep::kArrayBit, 8, [&] {
            out_.append(count);
            if constexpr (std::is_same_v<T, bool>)
                for (const bool value : values)
                    out_.append(static_cast<std::uint8_t>(value));
            else
                for (const T& value : values)
                    writeItem(value);
        });
    }
}

#define USD_INSTANTIATE_PACK_ARRAY(T) template ValueRep ValuePacker::packArray(const Array<T>&);
USD_FOR_EACH_ELEMENT_TYPE(USD_INSTANTIATE_PACK_ARRAY)
#undef USD_INSTANTIATE_PACK_ARRAY

} // namespace usd::crate
