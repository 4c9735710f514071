#include "CrateTypes.h"
#include "Inlining.h"
#include "ValuePacker.h"

#include <USD/crate_writer/CrateWriter.h>

namespace usd::crate {

template <typename T> void ValuePacker::writeCountedItems(const std::vector<T>& items) {
    out_.append(static_cast<std::uint64_t>(items.size()));
    for (const T& item : items)
        writeItem(item);
}

ValueRep ValuePacker::packCompound(const Dictionary& value) {
    if (const auto word = tryInlineWord(value))
        return ValueRep::make(Type::Dictionary, ValueRep::kInlinedBit, *word);
    return writeOutOfLine(Type::Dictionary, 0, 1, [&] { writeDictionaryBody(value); });
}

ValueRep ValuePacker::packCompound(const TokenVector& value) {
    return writeOutOfLine(Type::TokenVector, 0, 1, [&] { writeCountedItems(value.items); });
}

ValueRep ValuePacker::packCompound(const StringVector& value) {
    return writeOutOfLine(Type::StringVector, 0, 1, [&] { writeCountedItems(value.items); });
}

ValueRep ValuePacker::packCompound(const PathVector& value) {
    return writeOutOfLine(Type::PathVector, 0, 1, [&] { writeCountedItems(value.items); });
}

ValueRep ValuePacker::packCompound(const DoubleVector& value) {
    return writeOutOfLine(Type::DoubleVector, 0, 1, [&] { writeCountedItems(value.items); });
}

ValueRep ValuePacker::packCompound(const LayerOffsetVector& value) {
    return writeOutOfLine(Type::LayerOffsetVector, 0, 1, [&] { writeCountedItems(value.items); });
}

ValueRep ValuePacker::packCompound(const Relocates& value) {
    require(versionNeededFor<Relocates>());
    return writeOutOfLine(Type::Relocates, 0, 1, [&] {
        out_.append(static_cast<std::uint64_t>(value.items.size()));
        for (const Relocate& relocate : value.items) {
            writeItem(relocate.source);
            writeItem(relocate.target);
        }
    });
}

ValueRep ValuePacker::packCompound(const VariantSelectionMap& value) {
    return writeOutOfLine(Type::VariantSelectionMap, 0, 1, [&] {
        out_.append(static_cast<std::uint64_t>(value.size()));
        for (const auto& [variantSet, variant] : value) {
            writeItem(variantSet);
            writeItem(variant);
        }
    });
}

ValueRep ValuePacker::packCompound(const Payload& value) {
    return writeOutOfLine(Type::Payload, 0, 1, [&] { writeItem(value); });
}

// The times and the samples' own data go first, so the record itself is just
// the two references and the sample references.
ValueRep ValuePacker::packCompound(const TimeSamples& value) {
    if (value.times.size() != value.values.size())
        throw CrateWriteError("time samples need exactly one value per time");
    const ValueRep times = packCompound(DoubleVector{value.times});
    std::vector<std::uint64_t> samples;
    samples.reserve(value.values.size());
    for (const Value& sample : value.values)
        samples.push_back(pack(sample).bits());
    return writeOutOfLine(Type::TimeSamples, 0, 1, [&] {
        out_.append(std::int64_t{8}); // the times reference follows at once
        out_.append(times.bits());
        out_.append(std::int64_t{8}); // and so does the sample count
        out_.append(static_cast<std::uint64_t>(samples.size()));
        out_.appendElements<std::uint64_t>(samples);
    });
}

// A header byte saying which lists are present, then each present list with
// its count, in the order explicit, added, prepended, appended, deleted,
// ordered (not the order of the header bits).
template <typename T> ValueRep ValuePacker::packListOp(const ListOp<T>& op) {
    const std::pair<std::uint8_t, const std::vector<T>*> lists[] = {
        {listop::kHasExplicitItems, &op.explicitItems},
        {listop::kHasAddedItems, &op.addedItems},
        {listop::kHasPrependedItems, &op.prependedItems},
        {listop::kHasAppendedItems, &op.appendedItems},
        {listop::kHasDeletedItems, &op.deletedItems},
        {listop::kHasOrderedItems, &op.orderedItems}};
    std::uint8_t header = op.isExplicit ? listop::kIsExplicit : 0;
    for (const auto& [bit, items] : lists)
        if (!items->empty())
            header |= bit;
    return writeOutOfLine(crateTypeOf<ListOp<T>>(), 0, 1, [&] {
        out_.append(header);
        for (const auto& [bit, items] : lists)
            if (!items->empty())
                writeCountedItems(*items);
    });
}

template ValueRep ValuePacker::packListOp(const TokenListOp&);
template ValueRep ValuePacker::packListOp(const StringListOp&);
template ValueRep ValuePacker::packListOp(const PathListOp&);
template ValueRep ValuePacker::packListOp(const ReferenceListOp&);
template ValueRep ValuePacker::packListOp(const PayloadListOp&);
template ValueRep ValuePacker::packListOp(const IntListOp&);
template ValueRep ValuePacker::packListOp(const Int64ListOp&);
template ValueRep ValuePacker::packListOp(const UIntListOp&);
template ValueRep ValuePacker::packListOp(const UInt64ListOp&);
template ValueRep ValuePacker::packListOp(const UnregisteredValueListOp&);

} // namespace usd::crate
