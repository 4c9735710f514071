#include <GLTFReader/JsonDecoder.h>
#include <charconv>
#include <cmath>
#include <limits>

namespace gltf {
namespace {

using simdjson::dom::element_type;

const char* jsonTypeName(element_type type) {
    switch (type) {
    case element_type::ARRAY:
        return "an array";
    case element_type::OBJECT:
        return "an object";
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
        return "a number";
    case element_type::STRING:
        return "a string";
    case element_type::BOOL:
        return "a boolean";
    case element_type::NULL_VALUE:
        return "null";
    }
    return "an unknown value";
}

std::string numberText(double number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

bool isWholeInt64(double number) {
    constexpr double limit = 9223372036854775808.0; // 2^63
    return std::trunc(number) == number && number >= -limit && number < limit;
}

} // namespace

JsonValue::JsonValue(simdjson::dom::element element, std::string codingPath,
                     const DecodingContext& context)
    : element_(element), codingPath_(std::move(codingPath)), context_(&context) {}

bool JsonValue::isNull() const {
    return element_.type() == element_type::NULL_VALUE;
}

JsonObject JsonValue::object() const {
    if (element_.type() != element_type::OBJECT) {
        failWrongType("an object");
    }
    return JsonObject(element_.get_object().value_unsafe(), *this);
}

std::vector<JsonValue> JsonValue::elements() const {
    if (element_.type() != element_type::ARRAY) {
        failWrongType("an array");
    }
    const simdjson::dom::array array = element_.get_array().value_unsafe();
    std::vector<JsonValue> result;
    for (const simdjson::dom::element child : array) {
        result.emplace_back(child, codingPath_ + "[" + std::to_string(result.size()) + "]",
                            *context_);
    }
    return result;
}

std::string JsonValue::string() const {
    if (element_.type() != element_type::STRING) {
        failWrongType("a string");
    }
    return std::string(element_.get_string().value_unsafe());
}

bool JsonValue::boolean() const {
    if (element_.type() != element_type::BOOL) {
        failWrongType("a boolean");
    }
    return element_.get_bool().value_unsafe();
}

std::int64_t JsonValue::integer() const {
    switch (element_.type()) {
    case element_type::INT64:
        return element_.get_int64().value_unsafe();
    case element_type::UINT64:
        fail(DecodingError::Kind::dataCorrupted,
             "number " + std::to_string(element_.get_uint64().value_unsafe()) +
                 " does not fit in Int");
    case element_type::DOUBLE: {
        const double number = element_.get_double().value_unsafe();
        if (!isWholeInt64(number)) {
            fail(DecodingError::Kind::dataCorrupted,
                 "number " + numberText(number) + " does not fit in Int");
        }
        return static_cast<std::int64_t>(number);
    }
    default:
        failWrongType("an integer");
    }
}

float JsonValue::single() const {
    switch (element_.type()) {
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE: {
        const double number = element_.get_double().value_unsafe();
        if (std::abs(number) > std::numeric_limits<float>::max()) {
            fail(DecodingError::Kind::dataCorrupted,
                 "number " + numberText(number) + " does not fit in Float");
        }
        return static_cast<float>(number);
    }
    default:
        failWrongType("a number");
    }
}

void JsonValue::fail(DecodingError::Kind kind, const std::string& detail) const {
    throw DecodingError(kind, codingPath_, detail);
}

void JsonValue::failWrongType(std::string_view expected) const {
    const element_type found = element_.type();
    const DecodingError::Kind kind = found == element_type::NULL_VALUE
                                         ? DecodingError::Kind::valueNotFound
                                         : DecodingError::Kind::typeMismatch;
    fail(kind, "expected " + std::string(expected) + " but found " + jsonTypeName(found));
}

JsonObject::JsonObject(simdjson::dom::object object, JsonValue value)
    : object_(object), value_(std::move(value)) {}

namespace {

std::string memberPath(const std::string& objectPath, std::string_view key) {
    return objectPath.empty() ? std::string(key) : objectPath + "." + std::string(key);
}

} // namespace

std::optional<JsonValue> JsonObject::find(std::string_view key) const {
    simdjson::dom::element member;
    if (object_.at_key(key).get(member) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    return JsonValue(member, memberPath(value_.codingPath(), key), value_.context());
}

std::vector<std::pair<std::string, JsonValue>> JsonObject::members() const {
    std::vector<std::pair<std::string, JsonValue>> result;
    for (const simdjson::dom::key_value_pair member : object_) {
        std::string key(member.key);
        JsonValue value(member.value, memberPath(value_.codingPath(), key), value_.context());
        result.emplace_back(std::move(key), std::move(value));
    }
    return result;
}

void JsonObject::failKeyNotFound(std::string_view key) const {
    throw DecodingError(DecodingError::Kind::keyNotFound, memberPath(value_.codingPath(), key),
                        "no value for the required key \"" + std::string(key) + "\"");
}

void withParsedJson(std::span<const std::uint8_t> text, const DecodingContext& context,
                    const std::function<void(const JsonValue&)>& use) {
    if (text.empty()) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, "", "the data is empty");
    }
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    const simdjson::error_code error = parser.parse(text.data(), text.size()).get(root);
    if (error != simdjson::SUCCESS) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, "",
                            std::string("the data is not valid JSON (") +
                                simdjson::error_message(error) + ")");
    }
    use(JsonValue(root, "", context));
}

} // namespace gltf
