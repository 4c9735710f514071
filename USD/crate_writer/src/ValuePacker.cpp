#include "ValuePacker.h"

#include "CrateTypes.h"
#include "Inlining.h"
#include "ValueKinds.h"

#include <USD/crate_writer/CrateWriter.h>
#include <algorithm>

namespace usd::crate {
namespace {

ValueRep inlined(Type type, std::uint32_t word) {
    return ValueRep::make(type, ValueRep::kInlinedBit, word);
}

std::size_t hashOf(std::size_t bodyHash, ValueRep rep) {
    return bodyHash ^ (rep.bits() & ~ValueRep::kPayloadMask);
}

} // namespace

template <typename T> ValueRep ValuePacker::packScalar(const T& value) {
    require(versionNeededFor<T>());
    constexpr Type type = crateTypeOf<T>();
    if constexpr (std::is_same_v<T, Token>)
        return inlined(type, tokens_.add(value.text));
    else if constexpr (std::is_same_v<T, AssetPath>)
        return inlined(type, tokens_.add(value.path)); // a token, unlike asset arrays
    else if constexpr (std::is_same_v<T, std::string>)
        return inlined(type, strings_.add(value));
    else if constexpr (std::is_same_v<T, ValueBlock>)
        return inlined(type, 0);
    else if constexpr (requires { inlineWord(value); })
        return inlined(type, inlineWord(value));
    else {
        if constexpr (requires { tryInlineWord(value); })
            if (const auto word = tryInlineWord(value))
                return inlined(type, *word);
        return writeOutOfLine(type, 0, 1, [&] { writeItem(value); });
    }
}

ValueRep ValuePacker::deduplicated(ValueRep written, std::uint64_t paddingStart,
                                   std::size_t bodyHash) {
    const std::uint64_t start = written.payload();
    const auto bytes = out_.bytesFrom(start);
    const std::size_t hash = hashOf(bodyHash, written);
    const auto [first, last] = written_.equal_range(hash);
    for (auto candidate = first; candidate != last; ++candidate) {
        const WrittenValue& earlier = candidate->second;
        const bool sameKind = (earlier.rep.bits() & ~ValueRep::kPayloadMask) ==
                              (written.bits() & ~ValueRep::kPayloadMask);
        if (sameKind && earlier.length == bytes.size() &&
            std::ranges::equal(out_.bytesFrom(earlier.rep.payload()).first(bytes.size()), bytes)) {
            out_.truncate(paddingStart);
            return earlier.rep;
        }
    }
    written_.emplace(hash, WrittenValue{written, bytes.size()});
    return written;
}

void ValuePacker::writeItem(const LayerOffset& offset) {
    out_.append(offset.offset);
    out_.append(offset.scale);
}

void ValuePacker::writeItem(const Reference& reference) {
    writeItem(reference.assetPath);
    writeItem(reference.primPath);
    writeItem(reference.layerOffset);
    writeDictionaryBody(reference.customData);
}

void ValuePacker::writeItem(const Payload& payload) {
    writeItem(payload.assetPath);
    writeItem(payload.primPath);
    writeItem(payload.layerOffset);
}

// A value slot: the distance to the nested reference, the nested value's own
// data (if it has any that was not written before), then the reference.
void ValuePacker::writeItem(const Value& value) {
    const std::uint64_t slot = out_.size();
    out_.append(std::int64_t{0});
    const ValueRep rep = pack(value);
    out_.patch(slot, static_cast<std::int64_t>(out_.size() - slot));
    out_.append(rep.bits());
}

void ValuePacker::writeDictionaryBody(const Dictionary& dictionary) {
    out_.append(static_cast<std::uint64_t>(dictionary.size()));
    for (const auto& [key, value] : dictionary.entries()) {
        out_.append(strings_.add(key));
        writeItem(value);
    }
}

// After the packing templates it instantiates: clang instantiates a member template named in
// a generic lambda only from a definition it has already seen.
ValueRep ValuePacker::pack(const Value& value) {
    return std::visit(
        [this]<typename T>(const T& held) -> ValueRep {
            if constexpr (std::is_same_v<T, std::monostate>)
                throw CrateWriteError("cannot store an empty value in a crate file");
            else if constexpr (isArray<T>)
                return packArray(held);
            else if constexpr (isListOp<T>)
                return packListOp(held);
            else if constexpr (requires { this->packCompound(held); })
                return packCompound(held);
            else
                return packScalar(held);
        },
        value.storage());
}

} // namespace usd::crate
