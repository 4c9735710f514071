#pragma once

#include <USD/layer/Value.h>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace usd {

// What one entry of a layer describes. The numbers are the ones files store.
enum class SpecType : std::uint8_t {
    Unknown = 0,
    Attribute = 1,
    Connection = 2,
    Expression = 3,
    Mapper = 4,
    MapperArg = 5,
    Prim = 6,
    PseudoRoot = 7,
    Relationship = 8,
    RelationshipTarget = 9,
    Variant = 10,
    VariantSet = 11,
};

// One object of scene description and its fields. Field order carries no meaning, so the
// fields are kept by name.
struct Spec {
    using Fields = std::map<std::string, Value, std::less<>>;

    SpecType type = SpecType::Unknown;
    Fields fields;

    // The field's value, or nullptr when the field is absent.
    const Value* field(std::string_view name) const {
        const auto it = fields.find(name);
        return it == fields.end() ? nullptr : &it->second;
    }
    void setField(std::string name, Value value) {
        fields.insert_or_assign(std::move(name), std::move(value));
    }

    friend bool operator==(const Spec&, const Spec&) = default;
};

} // namespace usd
