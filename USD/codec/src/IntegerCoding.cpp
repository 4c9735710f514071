#include <USD/FormatError.h>
#include <USD/IntegerCoding.h>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <unordered_map>

namespace usd {

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

template <typename Signed> std::vector<Signed> deltasOf(std::span<const Signed> values) {
    using Unsigned = std::make_unsigned_t<Signed>;
    std::vector<Signed> deltas(values.size());
    Unsigned previous = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto current = static_cast<Unsigned>(values[i]);
        deltas[i] = static_cast<Signed>(current - previous); // wraps, as the format wants
        previous = current;
    }
    return deltas;
}

// The most frequent delta; ties go to the largest, which reproduces other writers' output.
template <typename Signed> Signed mostCommonDelta(const std::vector<Signed>& deltas) {
    std::unordered_map<Signed, std::size_t> counts;
    for (const Signed delta : deltas) {
        ++counts[delta];
    }
    Signed best = 0;
    std::size_t bestCount = 0;
    for (const auto& [delta, count] : counts) {
        if (count > bestCount || (count == bestCount && delta > best)) {
            best = delta;
            bestCount = count;
        }
    }
    return best;
}

template <typename Narrow, typename Signed>
void appendLittleEndian(std::vector<std::uint8_t>& out, Signed value) {
    const auto narrow = static_cast<Narrow>(value);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&narrow);
    out.insert(out.end(), bytes, bytes + sizeof(Narrow));
}

template <typename Signed> std::vector<std::uint8_t> encodeSigned(std::span<const Signed> values) {
    using Widths = DeltaWidths<Signed>;
    if (values.empty()) {
        return {};
    }
    const std::vector<Signed> deltas = deltasOf(values);
    const Signed common = mostCommonDelta(deltas);

    std::vector<std::uint8_t> out;
    out.reserve(maxEncodedIntegersSize<Signed>(values.size()));
    appendLittleEndian<Signed>(out, common);
    const std::size_t codesStart = out.size();
    out.resize(codesStart + (values.size() * 2 + 7) / 8, 0);
    for (std::size_t i = 0; i < deltas.size(); ++i) {
        const Signed delta = deltas[i];
        DeltaCode code = kLarge;
        if (delta == common) {
            code = kCommon;
        } else if (fits<typename Widths::Small>(delta)) {
            code = kSmall;
            appendLittleEndian<typename Widths::Small>(out, delta);
        } else if (fits<typename Widths::Medium>(delta)) {
            code = kMedium;
            appendLittleEndian<typename Widths::Medium>(out, delta);
        } else {
            appendLittleEndian<Signed>(out, delta);
        }
        out[codesStart + i / 4] |= static_cast<std::uint8_t>(code << (2 * (i % 4)));
    }
    return out;
}

// Reads little-endian integers of the three delta widths, refusing to run past the end.
class DeltaStream {
  public:
    explicit DeltaStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    template <typename Narrow> std::int64_t next() {
        if (bytes_.size() - position_ < sizeof(Narrow)) {
            throw FormatError("coded integers end early at byte " + std::to_string(position_));
        }
        Narrow value;
        std::memcpy(&value, bytes_.data() + position_, sizeof value);
        position_ += sizeof value;
        return value;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

template <typename Signed>
std::vector<Signed> decodeSigned(std::span<const std::uint8_t> coded, std::size_t count) {
    using Widths = DeltaWidths<Signed>;
    using Unsigned = std::make_unsigned_t<Signed>;
    if (count == 0) {
        return {};
    }
    const std::size_t codeBytes = (count * 2 + 7) / 8;
    if (coded.size() < sizeof(Signed) + codeBytes) {
        throw FormatError("coded integers too short: " + std::to_string(coded.size()) +
                          " bytes for " + std::to_string(count) + " values");
    }
    Signed common;
    std::memcpy(&common, coded.data(), sizeof common);
    const auto codes = coded.subspan(sizeof(Signed), codeBytes);
    DeltaStream stream(coded.subspan(sizeof(Signed) + codeBytes));

    std::vector<Signed> values(count);
    Unsigned running = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto code = static_cast<DeltaCode>((codes[i / 4] >> (2 * (i % 4))) & 3);
        std::int64_t delta = common;
        if (code == kSmall) {
            delta = stream.next<typename Widths::Small>();
        } else if (code == kMedium) {
            delta = stream.next<typename Widths::Medium>();
        } else if (code == kLarge) {
            delta = stream.next<Signed>();
        }
        running += static_cast<Unsigned>(delta);
        values[i] = static_cast<Signed>(running);
    }
    return values;
}

} // namespace

template <CodedInteger T> std::vector<std::uint8_t> encodeIntegers(std::span<const T> values) {
    using Signed = std::make_signed_t<T>;
    return encodeSigned<Signed>({reinterpret_cast<const Signed*>(values.data()), values.size()});
}

template <CodedInteger T>
std::vector<T> decodeIntegers(std::span<const std::uint8_t> coded, std::size_t count) {
    using Signed = std::make_signed_t<T>;
    if constexpr (std::is_signed_v<T>) {
        return decodeSigned<Signed>(coded, count);
    } else {
        const std::vector<Signed> decoded = decodeSigned<Signed>(coded, count);
        std::vector<T> values(decoded.size());
        std::memcpy(values.data(), decoded.data(), decoded.size() * sizeof(T));
        return values;
    }
}

template std::vector<std::uint8_t> encodeIntegers(std::span<const std::int32_t>);
template std::vector<std::uint8_t> encodeIntegers(std::span<const std::uint32_t>);
template std::vector<std::uint8_t> encodeIntegers(std::span<const std::int64_t>);
template std::vector<std::uint8_t> encodeIntegers(std::span<const std::uint64_t>);
template std::vector<std::int32_t> decodeIntegers(std::span<const std::uint8_t>, std::size_t);
template std::vector<std::uint32_t> decodeIntegers(std::span<const std::uint8_t>, std::size_t);
template std::vector<std::int64_t> decodeIntegers(std::span<const std::uint8_t>, std::size_t);
template std::vector<std::uint64_t> decodeIntegers(std::span<const std::uint8_t>, std::size_t);

} // namespace usd
