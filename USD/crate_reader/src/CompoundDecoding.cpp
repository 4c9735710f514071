#include "ValueDecoder.h"

namespace usd::crate {

namespace {

constexpr Version kPayloadLayerOffsetVersion{0, 8, 0};

// Smallest stored sizes, used to refuse counts the remaining bytes cannot hold.
constexpr std::size_t kIndexSize = sizeof(std::uint32_t);
constexpr std::size_t kValueSlotSize = 16;
constexpr std::size_t kDictionaryEntrySize = kIndexSize + kValueSlotSize;
constexpr std::size_t kReferenceSize = 2 * kIndexSize + 2 * sizeof(double) + sizeof(std::uint64_t);

// Follows an i64 distance measured from its own first byte; the bytes it skips hold data
// written for what comes next, so the distance covers at least itself.
void followDistance(ByteReader& reader) {
    const std::size_t start = reader.position();
    const auto distance = reader.read<std::int64_t>();
    if (distance < 8 || static_cast<std::uint64_t>(distance) > reader.size() - start) {
        throw FormatError("distance " + std::to_string(distance) + " at offset " +
                          std::to_string(start) + " points outside the file");
    }
    reader.seek(start + static_cast<std::uint64_t>(distance));
}

template <typename T> ItemVector<T> makeItemVector(std::vector<T> items) {
    return ItemVector<T>{std::move(items)};
}

} // namespace

template <typename T, typename ReadItem>
std::vector<T> ValueDecoder::readItems(ByteReader& reader, std::size_t itemSize,
                                       ReadItem readItem) {
    const auto count = reader.read<std::uint64_t>();
    reader.requireElements(count, itemSize);
    budget_.charge(count * sizeof(T));
    std::vector<T> items;
    items.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        items.push_back(readItem(reader));
    }
    return items;
}

template <typename T, typename ReadItem>
ListOp<T> ValueDecoder::readListOp(ByteReader& reader, std::size_t itemSize, ReadItem readItem) {
    const auto header = reader.read<std::uint8_t>();
    ListOp<T> op;
    op.isExplicit = header & listop::kIsExplicit;
    // Stored in this order, which differs from the order of the header bits.
    const std::pair<std::uint8_t, std::vector<T>*> lists[] = {
        {listop::kHasExplicitItems, &op.explicitItems},
        {listop::kHasAddedItems, &op.addedItems},
        {listop::kHasPrependedItems, &op.prependedItems},
        {listop::kHasAppendedItems, &op.appendedItems},
        {listop::kHasDeletedItems, &op.deletedItems},
        {listop::kHasOrderedItems, &op.orderedItems},
    };
    for (const auto& [bit, items] : lists) {
        if (header & bit) {
            *items = readItems<T>(reader, itemSize, readItem);
        }
    }
    return op;
}

Value ValueDecoder::readValueSlot(ByteReader& reader) {
    // The nested value's own data, if any, lies between the distance and the ValueRep.
    followDistance(reader);
    return decodeNested(ValueRep(reader.read<std::uint64_t>()));
}

Dictionary ValueDecoder::readDictionary(ByteReader& reader) {
    const auto count = reader.read<std::uint64_t>();
    reader.requireElements(count, kDictionaryEntrySize);
    Dictionary dictionary;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::string key = string(reader.read<std::uint32_t>());
        dictionary.set(std::move(key), readValueSlot(reader));
    }
    return dictionary;
}

TimeSamples ValueDecoder::readTimeSamples(ByteReader& reader) {
    const std::size_t start = reader.position();
    TimeSamples samples;
    Value times = readValueSlot(reader);
    if (auto* vector = times.get<DoubleVector>()) {
        samples.times = std::move(vector->items);
    } else if (auto* array = times.get<Array<double>>()) {
        samples.times = std::move(*array);
    } else {
        throw FormatError("time samples at offset " + std::to_string(start) +
                          " have no times vector");
    }
    followDistance(reader); // past the sample values' own data
    const auto count = reader.read<std::uint64_t>();
    if (count != samples.times.size()) {
        throw FormatError("time samples at offset " + std::to_string(start) + " have " +
                          std::to_string(samples.times.size()) + " times but " +
                          std::to_string(count) + " values");
    }
    const auto reps = reader.readVector<std::uint64_t>(count);
    samples.values.reserve(count);
    for (const std::uint64_t rep : reps) {
        samples.values.push_back(decodeNested(ValueRep(rep)));
    }
    return samples;
}

Reference ValueDecoder::readReference(ByteReader& reader) {
    Reference reference;
    reference.assetPath = string(reader.read<std::uint32_t>());
    reference.primPath = path(reader.read<std::uint32_t>());
    reference.layerOffset.offset = reader.read<double>();
    reference.layerOffset.scale = reader.read<double>();
    reference.customData = readDictionary(reader);
    return reference;
}

Payload ValueDecoder::readPayload(ByteReader& reader) {
    Payload payload;
    payload.assetPath = string(reader.read<std::uint32_t>());
    payload.primPath = path(reader.read<std::uint32_t>());
    if (version_ >= kPayloadLayerOffsetVersion) {
        payload.layerOffset.offset = reader.read<double>();
        payload.layerOffset.scale = reader.read<double>();
    }
    return payload;
}

Value ValueDecoder::decodeCompound(Type type, ByteReader& reader) {
    const auto readToken = [this](ByteReader& r) { return Token{token(r.read<std::uint32_t>())}; };
    const auto readString = [this](ByteReader& r) { return string(r.read<std::uint32_t>()); };
    const auto readPath = [this](ByteReader& r) { return path(r.read<std::uint32_t>()); };
    const auto readRaw = []<typename T>(std::type_identity<T>) {
        return [](ByteReader& r) { return r.read<T>(); };
    };
    const auto readRelocate = [&](ByteReader& r) {
        Path source = readPath(r);
        return Relocate{std::move(source), readPath(r)};
    };
    const auto readLayerOffset = [](ByteReader& r) {
        const auto offset = r.read<double>();
        return LayerOffset{offset, r.read<double>()};
    };
    const auto readSelection = [&](ByteReader& r) {
        std::string set = readString(r);
        return std::pair{std::move(set), readString(r)};
    };
    const std::size_t payloadSize =
        2 * kIndexSize + (version_ >= kPayloadLayerOffsetVersion ? 2 * sizeof(double) : 0);

    switch (type) {
    case Type::Dictionary:
        return readDictionary(reader);
    case Type::TokenListOp:
        return readListOp<Token>(reader, kIndexSize, readToken);
    case Type::StringListOp:
        return readListOp<std::string>(reader, kIndexSize, readString);
    case Type::PathListOp:
        return readListOp<Path>(reader, kIndexSize, readPath);
    case Type::ReferenceListOp:
        return readListOp<Reference>(reader, kReferenceSize,
                                     [this](ByteReader& r) { return readReference(r); });
    case Type::PayloadListOp:
        return readListOp<Payload>(reader, payloadSize,
                                   [this](ByteReader& r) { return readPayload(r); });
    case Type::IntListOp:
        return readListOp<std::int32_t>(reader, 4, readRaw(std::type_identity<std::int32_t>{}));
    case Type::UIntListOp:
        return readListOp<std::uint32_t>(reader, 4, readRaw(std::type_identity<std::uint32_t>{}));
    case Type::Int64ListOp:
        return readListOp<std::int64_t>(reader, 8, readRaw(std::type_identity<std::int64_t>{}));
    case Type::UInt64ListOp:
        return readListOp<std::uint64_t>(reader, 8, readRaw(std::type_identity<std::uint64_t>{}));
    case Type::UnregisteredValueListOp:
        return readListOp<Value>(reader, kValueSlotSize,
                                 [this](ByteReader& r) { return readValueSlot(r); });
    case Type::TokenVector:
        return makeItemVector(readItems<Token>(reader, kIndexSize, readToken));
    case Type::StringVector:
        return makeItemVector(readItems<std::string>(reader, kIndexSize, readString));
    case Type::PathVector:
        return makeItemVector(readItems<Path>(reader, kIndexSize, readPath));
    case Type::DoubleVector:
        return makeItemVector(readItems<double>(reader, 8, readRaw(std::type_identity<double>{})));
    case Type::LayerOffsetVector:
        return makeItemVector(readItems<LayerOffset>(reader, 16, readLayerOffset));
    case Type::Relocates:
        return makeItemVector(readItems<Relocate>(reader, 2 * kIndexSize, readRelocate));
    case Type::VariantSelectionMap: {
        auto pairs =
            readItems<std::pair<std::string, std::string>>(reader, 2 * kIndexSize, readSelection);
        return VariantSelectionMap(std::make_move_iterator(pairs.begin()),
                                   std::make_move_iterator(pairs.end()));
    }
    case Type::TimeSamples:
        return readTimeSamples(reader);
    case Type::Payload:
        return readPayload(reader);
    case Type::Value:
    case Type::UnregisteredValue:
        // A wrapped value of any type; the wrapper itself carries no meaning of its own.
        return readValueSlot(reader);
    default:
        throw FormatError("unsupported value type " + std::to_string(static_cast<int>(type)));
    }
}

} // namespace usd::crate
