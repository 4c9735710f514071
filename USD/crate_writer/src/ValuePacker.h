#pragma once

#include "ByteSink.h"
#include "PathTable.h"
#include "TokenTables.h"

#include <USD/codec/CrateFormat.h>
#include <USD/layer/Value.h>
#include <type_traits>
#include <unordered_map>

namespace usd::crate {

// Turns layer values into value references, writing whatever does not fit in
// a reference to the value area of the file. Identical out-of-line values are
// written once and share their reference.
class ValuePacker {
  public:
    ValuePacker(ByteSink& out, TokenTable& tokens, StringTable& strings, PathTable& paths)
        : out_(out), tokens_(tokens), strings_(strings), paths_(paths) {}

    // Throws CrateWriteError for the empty value, which no file can hold.
    ValueRep pack(const Value& value);

    // The oldest file version that holds every value packed so far.
    Version versionNeeded() const { return versionNeeded_; }

  private:
    template <typename T> ValueRep packScalar(const T& value);
    template <typename T> ValueRep packArray(const Array<T>& values);
    template <typename T> ValueRep packListOp(const ListOp<T>& op);
    ValueRep packCompound(const Dictionary& value);
    ValueRep packCompound(const TokenVector& value);
    ValueRep packCompound(const StringVector& value);
    ValueRep packCompound(const PathVector& value);
    ValueRep packCompound(const DoubleVector& value);
    ValueRep packCompound(const LayerOffsetVector& value);
    ValueRep packCompound(const Relocates& value);
    ValueRep packCompound(const VariantSelectionMap& value);
    ValueRep packCompound(const Payload& value);
    ValueRep packCompound(const TimeSamples& value);

    // Element writers shared by arrays, vectors and list ops.
    void writeItem(const Token& token) { out_.append(tokens_.add(token.text)); }
    void writeItem(const std::string& text) { out_.append(strings_.add(text)); }
    void writeItem(const AssetPath& asset) { out_.append(strings_.add(asset.path)); }
    void writeItem(const PathExpression& expression) { out_.append(strings_.add(expression.text)); }
    void writeItem(const Path& path) { out_.append(paths_.add(path)); }
    void writeItem(const LayerOffset& offset);
    void writeItem(const Reference& reference);
    void writeItem(const Payload& payload);
    void writeItem(const Value& value); // as a value slot
    template <typename T> void writeItem(const T& value) { out_.append(value); }
    template <typename T> void writeCountedItems(const std::vector<T>& items);
    void writeDictionaryBody(const Dictionary& dictionary);

    // Writes the body at the end of the value area (after zero padding to
    // `alignment`) and returns its reference, or takes it back and returns the
    // reference of an identical earlier value. A body may return the contentHash
    // of what it wrote, worked out as it went; otherwise it is hashed afterwards.
    template <typename WriteBody>
    ValueRep writeOutOfLine(Type type, std::uint64_t flags, std::size_t alignment,
                            WriteBody&& writeBody);
    ValueRep deduplicated(ValueRep written, std::uint64_t paddingStart, std::size_t bodyHash);

    void require(Version version) { versionNeeded_ = std::max(versionNeeded_, version); }

    struct WrittenValue {
        ValueRep rep;
        std::uint64_t length;
    };

    ByteSink& out_;
    TokenTable& tokens_;
    StringTable& strings_;
    PathTable& paths_;
    Version versionNeeded_ = kWrittenVersion;
    std::unordered_multimap<std::size_t, WrittenValue> written_;
};

template <typename WriteBody>
ValueRep ValuePacker::writeOutOfLine(Type type, std::uint64_t flags, std::size_t alignment,
                                     WriteBody&& writeBody) {
    const std::uint64_t paddingStart = out_.size();
    out_.padTo(alignment);
    const std::uint64_t start = out_.size();
    const ValueRep written = ValueRep::make(type, flags, start);
    if constexpr (std::is_void_v<std::invoke_result_t<WriteBody>>) {
        writeBody();
        return deduplicated(written, paddingStart, contentHash(out_.bytesFrom(start)));
    } else {
        const std::size_t bodyHash = writeBody();
        return deduplicated(written, paddingStart, bodyHash);
    }
}

} // namespace usd::crate
