#pragma once

#include <USD/layer/ValueTypes.h>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace usd {

class Value;

// String-keyed values (customData, assetInfo, customLayerData, ...). Ordered by key, so two
// dictionaries compare equal whatever order their entries were set in.
class Dictionary {
  public:
    using Entries = std::map<std::string, Value, std::less<>>;

    void set(std::string key, Value value);
    // The entry's value, or nullptr when the key is absent.
    const Value* find(std::string_view key) const;
    const Entries& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    bool operator==(const Dictionary& other) const;

  private:
    Entries entries_;
};

struct Reference {
    std::string assetPath; // empty for a reference inside the same layer
    Path primPath;         // empty when the target's default prim is meant
    LayerOffset layerOffset;
    Dictionary customData;
    bool operator==(const Reference&) const;
};

// Animated values: times ascending, one value per time (ValueBlock blocks a sample).
struct TimeSamples {
    std::vector<double> times;
    std::vector<Value> values;
    bool operator==(const TimeSamples&) const;
};

using VariantSelectionMap = std::map<std::string, std::string>;

using TokenListOp = ListOp<Token>;
using StringListOp = ListOp<std::string>;
using PathListOp = ListOp<Path>;
using ReferenceListOp = ListOp<Reference>;
using PayloadListOp = ListOp<Payload>;
using IntListOp = ListOp<std::int32_t>;
using Int64ListOp = ListOp<std::int64_t>;
using UIntListOp = ListOp<std::uint32_t>;
using UInt64ListOp = ListOp<std::uint64_t>;
// Metadata of keys the writing application knew and we may not.
using UnregisteredValueListOp = ListOp<Value>;

// Arrays are contiguous typed vectors, so large mesh data moves without copies.
template <typename T> using Array = std::vector<T>;

// Expands X(Type) once for every type that exists both as a scalar and as an array value.
#define USD_FOR_EACH_ELEMENT_TYPE(X)                                                               \
    X(bool)                                                                                        \
    X(std::uint8_t)                                                                                \
    X(std::int32_t)                                                                                \
    X(std::uint32_t)                                                                               \
    X(std::int64_t)                                                                                \
    X(std::uint64_t)                                                                               \
    X(Half)                                                                                        \
    X(float)                                                                                       \
    X(double)                                                                                      \
    X(std::string)                                                                                 \
    X(Token)                                                                                       \
    X(AssetPath)                                                                                   \
    X(Matrix2d)                                                                                    \
    X(Matrix3d)                                                                                    \
    X(Matrix4d)                                                                                    \
    X(Quatd)                                                                                       \
    X(Quatf)                                                                                       \
    X(Quath)                                                                                       \
    X(Vec2d)                                                                                       \
    X(Vec2f)                                                                                       \
    X(Vec2h)                                                                                       \
    X(Vec2i)                                                                                       \
    X(Vec3d)                                                                                       \
    X(Vec3f)                                                                                       \
    X(Vec3h)                                                                                       \
    X(Vec3i)                                                                                       \
    X(Vec4d)                                                                                       \
    X(Vec4f)                                                                                       \
    X(Vec4h)                                                                                       \
    X(Vec4i)                                                                                       \
    X(TimeCode)                                                                                    \
    X(PathExpression)

#define USD_SCALAR_ALTERNATIVE(T) T,
#define USD_ARRAY_ALTERNATIVE(T) Array<T>,

// Any value a layer field can hold. The empty value (std::monostate) means "no value".
class Value {
  public:
    using Storage =
        std::variant<std::monostate,
                     USD_FOR_EACH_ELEMENT_TYPE(USD_SCALAR_ALTERNATIVE)
                         USD_FOR_EACH_ELEMENT_TYPE(USD_ARRAY_ALTERNATIVE) Dictionary,
                     TokenListOp, StringListOp, PathListOp, ReferenceListOp, PayloadListOp,
                     IntListOp, Int64ListOp, UIntListOp, UInt64ListOp, UnregisteredValueListOp,
                     TokenVector, StringVector, PathVector, DoubleVector, LayerOffsetVector,
                     Relocates, Specifier, Permission, Variability, VariantSelectionMap,
                     TimeSamples, Payload, ValueBlock>;

    template <typename T>
    static constexpr bool isAlternative = []<typename... Ts>(std::variant<Ts...>*) {
        return (std::is_same_v<T, Ts> || ...);
    }(static_cast<Storage*>(nullptr));

    // Copying, moving, destroying and comparing the variant's hundred alternatives is compiled
    // once, in Value.cpp, rather than in every file that passes values around.
    Value();
    Value(const Value&);
    Value(Value&&) noexcept(std::is_nothrow_move_constructible_v<Storage>);
    Value& operator=(const Value&);
    Value& operator=(Value&&) noexcept(std::is_nothrow_move_assignable_v<Storage>);
    ~Value();
    template <typename T>
    requires isAlternative<std::remove_cvref_t<T>> Value(T&& value)
        : storage_(std::forward<T>(value)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(storage_); }
    template <typename T> bool holds() const { return std::holds_alternative<T>(storage_); }
    // The held value if it has type T, else nullptr.
    template <typename T> const T* get() const { return std::get_if<T>(&storage_); }
    template <typename T> T* get() { return std::get_if<T>(&storage_); }

    const Storage& storage() const { return storage_; }
    Storage& storage() { return storage_; }

    friend bool operator==(const Value&, const Value&);

  private:
    Storage storage_;
};

#undef USD_SCALAR_ALTERNATIVE
#undef USD_ARRAY_ALTERNATIVE

} // namespace usd
