#pragma once

#include "DecodeBudget.h"

#include <USD/codec/ByteReader.h>
#include <USD/codec/CrateFormat.h>
#include <USD/layer/Value.h>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace usd::crate {

// The tables values refer to by index.
struct ValueTables {
    const std::vector<std::string>& tokens;
    const std::vector<std::uint32_t>& strings; // token index of each string
    const std::vector<Path>& paths;
};

// Turns a ValueRep into a Value: inlined scalars, out-of-line scalars, arrays (raw and
// compressed) and compound values (dictionaries, list ops, time samples, ...). Throws
// FormatError for a corrupt or unsupported value; the caller decides what to drop.
class ValueDecoder {
  public:
    ValueDecoder(std::span<const std::uint8_t> file, const Version& version,
                 const ValueTables& tables, DecodeBudget& budget)
        : file_(file), version_(version), tables_(tables), budget_(budget) {}

    Value decode(ValueRep rep);

  private:
    // Scalars and their inline forms.
    Value decodeInlined(ValueRep rep);
    Value decodeOutOfLine(ValueRep rep);
    template <typename T> T inlineElement(std::uint32_t word);

    // Arrays.
    Value decodeArray(ValueRep rep);
    std::uint64_t readArrayCount(ByteReader& reader);
    template <typename T> Array<T> readArrayElements(ByteReader& reader, ValueRep rep);
    template <typename T> std::vector<T> readElements(ByteReader& reader, std::uint64_t count);

    // Compound values.
    Value decodeCompound(Type type, ByteReader& reader);
    Value decodeNested(ValueRep rep);
    Value readValueSlot(ByteReader& reader);
    Dictionary readDictionary(ByteReader& reader);
    TimeSamples readTimeSamples(ByteReader& reader);
    Reference readReference(ByteReader& reader);
    Payload readPayload(ByteReader& reader);
    template <typename T, typename ReadItem>
    ListOp<T> readListOp(ByteReader& reader, std::size_t itemSize, ReadItem readItem);
    template <typename T, typename ReadItem>
    std::vector<T> readItems(ByteReader& reader, std::size_t itemSize, ReadItem readItem);

    // Index resolution, checked against the tables.
    const std::string& token(std::uint64_t index);
    const std::string& string(std::uint64_t index);
    const Path& path(std::uint64_t index);

    std::span<const std::uint8_t> file_;
    Version version_;
    ValueTables tables_;
    DecodeBudget& budget_;
    std::vector<std::uint64_t> unpacking_; // reps being decoded, to stop self-reference
};

} // namespace usd::crate
