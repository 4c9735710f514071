#include <USD/layer/Value.h>

namespace usd {

void Dictionary::set(std::string key, Value value) {
    entries_.insert_or_assign(std::move(key), std::move(value));
}

const Value* Dictionary::find(std::string_view key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

bool Dictionary::operator==(const Dictionary& other) const {
    return entries_ == other.entries_;
}

bool Reference::operator==(const Reference& other) const {
    return assetPath == other.assetPath && primPath == other.primPath &&
           layerOffset == other.layerOffset && customData == other.customData;
}

bool TimeSamples::operator==(const TimeSamples& other) const {
    return times == other.times && values == other.values;
}

Value::Value() = default;
Value::Value(const Value&) = default;
Value::Value(Value&&) noexcept(std::is_nothrow_move_constructible_v<Storage>) = default;
Value& Value::operator=(const Value&) = default;
Value& Value::operator=(Value&&) noexcept(std::is_nothrow_move_assignable_v<Storage>) = default;
Value::~Value() = default;
bool operator==(const Value& left, const Value& right) {
    return left.storage_ == right.storage_;
}

} // namespace usd
