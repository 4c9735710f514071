#include "DeltaHistogram.h"
#include "VectorDeltaDecoding.h"

#include <USD/codec/FormatError.h>
#include <USD/codec/IntegerCoding.h>
#include <USD/codec/MemoryPages.h>
#include <USD/codec/TwoHalves.h>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace usd {

static_assert(std::endian::native == std::endian::little,
              "coded integers are little-endian and are written by copying memory");

namespace {

enum DeltaCode : std::uint8_t { kCommon = 0, kSmall = 1, kMedium = 2, kLarge = 3 };

// Widths of the three stored delta sizes: 1/2/4 bytes for 32-bit values, 2/4/8 for 64-bit.
template <typename Signed> struct DeltaWidths;
template <> struct DeltaWidths<std::int32_t> {
    using Small = std::int8_t;
    using Medium = std::int16_t;
};
template <> struct DeltaWidths<std::int64_t> {
    using Small = std::int16_t;
    using Medium = std::int32_t;
};

template <typename Narrow, typename Signed> bool fits(Signed value) {
    return value >= std::numeric_limits<Narrow>::min() &&
           value <= std::numeric_limits<Narrow>::max();
}

std::size_t codeBytesFor(std::size_t count) {
    return (count * 2 + 7) / 8;
}

// Hands each delta of consecutive values in the range to `use`, with its index. Deltas wrap,
// as the format wants; the first value's is from zero.
template <typename Signed, typename Use>
void forEachDelta(std::span<const Signed> values, IndexRange range, Use&& use) {
    using Unsigned = std::make_unsigned_t<Signed>;
    Unsigned previous = range.first == 0 ? 0 : static_cast<Unsigned>(values[range.first - 1]);
    for (std::size_t i = range.first; i < range.last; ++i) {
        const auto current = static_cast<Unsigned>(values[i]);
        use(i, static_cast<Signed>(current - previous));
        previous = current;
    }
}

template <typename Signed> Signed mostCommonDelta(std::span<const Signed> values) {
    DeltaHistogram<Signed> histogram(values.size());
    std::optional<DeltaHistogram<Signed>> secondHalf;
    inTwoHalves(values.size(), 1, [&](IndexRange range) {
        DeltaHistogram<Signed>& counts =
            range.first == 0 ? histogram : secondHalf.emplace(values.size());
        forEachDelta(values, range, [&](std::size_t, Signed delta) { counts.add(delta); });
    });
    if (secondHalf) {
        histogram.add(*secondHalf);
    }
    return histogram.mostCommon();
}

template <typename Signed> std::uint8_t* store(std::uint8_t* out, Signed value) {
    std::memcpy(out, &value, sizeof value);
    return out + sizeof value;
}

// Bytes stored per delta, by code.
template <typename Signed>
constexpr std::array<std::size_t, 4> kDeltaWidths{0, sizeof(typename DeltaWidths<Signed>::Small),
                                                  sizeof(typename DeltaWidths<Signed>::Medium),
                                                  sizeof(Signed)};

template <typename Signed> std::size_t widthOf(DeltaCode code) {
    return kDeltaWidths<Signed>[code];
}

// Bytes stored for the four deltas one code byte describes, for every code byte.
template <typename Signed>
constexpr std::array<std::size_t, 256> kCodeByteWidths = [] {
    std::array<std::size_t, 256> widths{};
    for (std::size_t byte = 0; byte < widths.size(); ++byte) {
        for (std::size_t slot = 0; slot < 4; ++slot) {
            widths[byte] += kDeltaWidths<Signed>[(byte >> (2 * slot)) & 3];
        }
    }
    return widths;
}();

template <typename Signed> DeltaCode codeFor(Signed delta, Signed common) {
    using Widths = DeltaWidths<Signed>;
    if (delta == common) {
        return kCommon;
    }
    return fits<typename Widths::Small>(delta)    ? kSmall
           : fits<typename Widths::Medium>(delta) ? kMedium
                                                  : kLarge;
}

// Codes the range's deltas: their codes into the whole array's `codes`, the stored deltas from
// `next` on. Returns the end of what it stored.
template <typename Signed>
std::uint8_t* encodeRange(std::span<const Signed> values, IndexRange range, Signed common,
                          std::uint8_t* codes, std::uint8_t* next) {
    forEachDelta(values, range, [&](std::size_t i, Signed delta) {
        const DeltaCode code = codeFor(delta, common);
        codes[i / 4] |= static_cast<std::uint8_t>(code << (2 * (i % 4)));
        // The whole delta is stored and only its narrow width kept: little-endian, the low
        // bytes are the narrow value. Each value has a full width of room, so this stays
        // inside the room the range may take.
        store(next, delta);
        next += widthOf<Signed>(code);
    });
    return next;
}

// The second half of a big array stores its deltas where the first half's could end at the
// longest, and they are moved down behind the first half's once both are done.
template <typename Signed>
std::size_t encodeSigned(std::span<const Signed> values, std::span<std::uint8_t> out) {
    if (values.empty()) {
        return 0;
    }
    const Signed common = mostCommonDelta(values);
    std::uint8_t* const codes = store(out.data(), common);
    std::memset(codes, 0, codeBytesFor(values.size()));
    std::uint8_t* const deltas = codes + codeBytesFor(values.size());
    std::span<const std::uint8_t> frontDeltas;
    std::span<const std::uint8_t> backDeltas;
    // Split at a whole code byte, so that each half has code bytes of its own.
    inTwoHalves(values.size(), 4, [&](IndexRange range) {
        std::uint8_t* const start = deltas + range.first * sizeof(Signed);
        std::uint8_t* const end = encodeRange(values, range, common, codes, start);
        (range.first == 0 ? frontDeltas : backDeltas) = {start, end};
    });
    if (!backDeltas.empty()) {
        std::memmove(deltas + frontDeltas.size(), backDeltas.data(), backDeltas.size());
    }
    return static_cast<std::size_t>(deltas + frontDeltas.size() + backDeltas.size() - out.data());
}

DeltaCode codeAt(std::span<const std::uint8_t> codes, std::size_t i) {
    return static_cast<DeltaCode>((codes[i / 4] >> (2 * (i % 4))) & 3);
}

// How many delta bytes the codes of count values call for.
template <typename Signed>
std::size_t deltaBytesNeeded(std::span<const std::uint8_t> codes, std::size_t count) {
    std::size_t total = 0;
    for (std::size_t byte = 0; byte < count / 4; ++byte) {
        total += kCodeByteWidths<Signed>[codes[byte]];
    }
    for (std::size_t i = count / 4 * 4; i < count; ++i) {
        total += widthOf<Signed>(codeAt(codes, i));
    }
    return total;
}

template <typename Narrow> std::int64_t load(const std::uint8_t*& in) {
    Narrow value;
    std::memcpy(&value, in, sizeof value);
    in += sizeof value;
    return value;
}

// One value at a time, continuing from `running`, the sum of the deltas before these values.
// The codes and delta bytes were checked to match before this runs, so it reads unchecked.
template <typename Signed>
void decodeOneByOne(Signed common, std::span<const std::uint8_t> codes, const std::uint8_t* deltas,
                    std::span<Signed> values, std::make_unsigned_t<Signed> running) {
    using Widths = DeltaWidths<Signed>;
    using Unsigned = std::make_unsigned_t<Signed>;
    for (std::size_t i = 0; i < values.size(); ++i) {
        // A code byte of zero is four common deltas, as are most of a triangle mesh's face
        // sizes: they are made without looking at each one's code.
        if (i % 4 == 0 && i + 4 <= values.size() && codes[i / 4] == 0) {
            for (std::size_t run = 0; run < 4; ++run) {
                running += static_cast<Unsigned>(common);
                values[i + run] = static_cast<Signed>(running);
            }
            i += 3; // and the loop's step makes four
            continue;
        }
        std::int64_t delta = common;
        switch (codeAt(codes, i)) {
        case kSmall:
            delta = load<typename Widths::Small>(deltas);
            break;
        case kMedium:
            delta = load<typename Widths::Medium>(deltas);
            break;
        case kLarge:
            delta = load<Signed>(deltas);
            break;
        case kCommon:
            break;
        }
        running += static_cast<Unsigned>(delta);
        values[i] = static_cast<Signed>(running);
    }
}

template <typename Signed>
void decodeChecked(Signed common, std::span<const std::uint8_t> codes,
                   std::span<const std::uint8_t> deltas, std::span<Signed> values) {
    decodeOneByOne<Signed>(common, codes, deltas.data(), values, 0);
}

// 32-bit values, the indices and counts of every mesh, are decoded four at a time where the
// processor can, and the rest one by one.
template <>
void decodeChecked(std::int32_t common, std::span<const std::uint8_t> codes,
                   std::span<const std::uint8_t> deltas, std::span<std::int32_t> values) {
    DeltaDecodingState state{0, deltas.data()};
    const std::size_t made =
        decodeWholeCodeBytes(common, codes, deltas.data() + deltas.size(), values, state);
    decodeOneByOne<std::int32_t>(common, codes.subspan(made / 4), state.deltas,
                                 values.subspan(made), state.running);
}

// Each value takes two bits of code after the common delta, so the coded bytes bound how many
// values they can describe. Checked before anything is allocated: the count comes from the
// file, and a hostile one would otherwise ask for exabytes.
template <typename Signed>
void requireCodesFor(std::span<const std::uint8_t> coded, std::size_t count) {
    const std::size_t codeRoom = coded.size() < sizeof(Signed) ? 0 : coded.size() - sizeof(Signed);
    if (count > 0 && count > codeRoom * 4) {
        throw FormatError("coded integers too short: " + std::to_string(coded.size()) +
                          " bytes for " + std::to_string(count) + " values");
    }
}

template <typename Signed>
void decodeSigned(std::span<const std::uint8_t> coded, std::span<Signed> values) {
    const std::size_t count = values.size();
    if (count == 0) {
        return;
    }
    const std::size_t codeBytes = codeBytesFor(count);
    Signed common;
    std::memcpy(&common, coded.data(), sizeof common);
    const auto codes = coded.subspan(sizeof(Signed), codeBytes);
    const auto deltas = coded.subspan(sizeof(Signed) + codeBytes);
    const std::size_t needed = deltaBytesNeeded<Signed>(codes, count);
    if (needed > deltas.size()) {
        throw FormatError("coded integers end early: their codes call for " +
                          std::to_string(needed) + " delta bytes, " +
                          std::to_string(deltas.size()) + " follow");
    }
    decodeChecked<Signed>(common, codes, deltas, values);
}

} // namespace

template <CodedInteger T>
std::size_t encodeIntegersInto(std::span<const T> values, std::span<std::uint8_t> out) {
    using Signed = std::make_signed_t<T>;
    if (out.size() < maxEncodedIntegersSize<T>(values.size())) {
        throw std::length_error("integer coding needs room for its longest form");
    }
    return encodeSigned<Signed>({reinterpret_cast<const Signed*>(values.data()), values.size()},
                                out);
}

template <CodedInteger T> std::vector<std::uint8_t> encodeIntegers(std::span<const T> values) {
    std::vector<std::uint8_t> out(maxEncodedIntegersSize<T>(values.size()));
    out.resize(encodeIntegersInto(values, std::span(out)));
    return out;
}

template <CodedInteger T>
std::vector<T> decodeIntegers(std::span<const std::uint8_t> coded, std::size_t count) {
    using Signed = std::make_signed_t<T>;
    requireCodesFor<Signed>(coded, count);
    std::vector<T> values = sizedWithHugePages<T>(count);
    decodeSigned<Signed>(coded, {reinterpret_cast<Signed*>(values.data()), count});
    return values;
}

#define USD_INSTANTIATE_INTEGER_CODING(T)                                                          \
    template std::size_t encodeIntegersInto(std::span<const T>, std::span<std::uint8_t>);          \
    template std::vector<std::uint8_t> encodeIntegers(std::span<const T>);                         \
    template std::vector<T> decodeIntegers(std::span<const std::uint8_t>, std::size_t);
USD_INSTANTIATE_INTEGER_CODING(std::int32_t)
USD_INSTANTIATE_INTEGER_CODING(std::uint32_t)
USD_INSTANTIATE_INTEGER_CODING(std::int64_t)
USD_INSTANTIATE_INTEGER_CODING(std::uint64_t)
#undef USD_INSTANTIATE_INTEGER_CODING

} // namespace usd
