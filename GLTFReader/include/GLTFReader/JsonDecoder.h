#pragma once

// A small typed decoder over simdjson's DOM. Records describe themselves with one decode
// function that reads `required<T>(key)` and `optional<T>(key)` fields in declaration order;
// this file turns JSON values into those field types and reports every failure as a
// gltf::DecodingError that names the coding path of the offending value.

#include <GLTFReader/DecodingError.h>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <simdjson.h>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

struct GLTFExtensionType;
using GLTFExtensionRegistry = std::map<std::string, GLTFExtensionType>;

namespace gltf {

// What the decoder carries down to every nested record: the extension registry that
// decides which members of each "extensions" object are decoded. Without a registry every
// extension container decodes empty.
struct DecodingContext {
    const GLTFExtensionRegistry* extensionRegistry = nullptr;
};

class JsonObject;
class JsonValue;

// Field types know how to decode themselves through this trait; records supply
// `static Record decode(const gltf::JsonObject&)`.
template <class T> struct JsonDecoding { static T decode(const JsonValue& value); };

class JsonValue {
  public:
    JsonValue(simdjson::dom::element element, std::string codingPath,
              const DecodingContext& context);

    template <class T> T decode() const { return JsonDecoding<T>::decode(*this); }

    bool isNull() const;
    JsonObject object() const;
    std::vector<JsonValue> elements() const;
    std::string string() const;
    bool boolean() const;
    std::int64_t integer() const;
    float single() const;

    const std::string& codingPath() const { return codingPath_; }
    const DecodingContext& context() const { return *context_; }
    simdjson::dom::element element() const { return element_; }

    [[noreturn]] void fail(DecodingError::Kind kind, const std::string& detail) const;

  private:
    // A present null where a value is needed is "value not found"; anything else of the
    // wrong JSON type is a type mismatch.
    [[noreturn]] void failWrongType(std::string_view expected) const;

    simdjson::dom::element element_;
    std::string codingPath_;
    const DecodingContext* context_;
};

class JsonObject {
  public:
    JsonObject(simdjson::dom::object object, JsonValue value);

    template <class T> T required(std::string_view key) const {
        const std::optional<JsonValue> member = find(key);
        if (!member) {
            failKeyNotFound(key);
        }
        return member->decode<T>();
    }

    // A missing key and a present null both leave an optional field absent.
    template <class T> std::optional<T> optional(std::string_view key) const {
        const std::optional<JsonValue> member = find(key);
        if (!member || member->isNull()) {
            return std::nullopt;
        }
        return member->decode<T>();
    }

    // The member, or `fallback` when it is missing or null; a present member of the wrong type
    // still fails.
    template <class T> T optional(std::string_view key, T fallback) const {
        std::optional<T> member = optional<T>(key);
        return member ? std::move(*member) : std::move(fallback);
    }

    std::optional<JsonValue> find(std::string_view key) const;
    std::vector<std::pair<std::string, JsonValue>> members() const;
    const JsonValue& value() const { return value_; }
    const DecodingContext& context() const { return value_.context(); }

  private:
    [[noreturn]] void failKeyNotFound(std::string_view key) const;

    simdjson::dom::object object_;
    JsonValue value_;
};

// Records open a JSON object; a record whose decode takes a JsonValue accepts any JSON value.
template <class T> T JsonDecoding<T>::decode(const JsonValue& value) {
    if constexpr (std::is_invocable_r_v<T, decltype(&T::decode), const JsonValue&>) {
        return T::decode(value);
    } else {
        return T::decode(value.object());
    }
}

template <> struct JsonDecoding<std::int64_t> {
    static std::int64_t decode(const JsonValue& value) { return value.integer(); }
};

template <> struct JsonDecoding<float> {
    static float decode(const JsonValue& value) { return value.single(); }
};

template <> struct JsonDecoding<bool> {
    static bool decode(const JsonValue& value) { return value.boolean(); }
};

template <> struct JsonDecoding<std::string> {
    static std::string decode(const JsonValue& value) { return value.string(); }
};

template <class T> struct JsonDecoding<std::vector<T>> {
    static std::vector<T> decode(const JsonValue& value) {
        std::vector<T> result;
        for (const JsonValue& element : value.elements()) {
            result.push_back(element.decode<T>());
        }
        return result;
    }
};

template <class T> struct JsonDecoding<std::map<std::string, T>> {
    static std::map<std::string, T> decode(const JsonValue& value) {
        std::map<std::string, T> result;
        for (const auto& [key, member] : value.object().members()) {
            result.emplace(key, member.template decode<T>());
        }
        return result;
    }
};

// Parses `text` and hands its root value to `use`; the parsed DOM lives only during the call.
// Text that is not JSON fails with dataCorrupted.
void withParsedJson(std::span<const std::uint8_t> text, const DecodingContext& context,
                    const std::function<void(const JsonValue&)>& use);

template <class T>
T decodeJson(std::span<const std::uint8_t> text, const DecodingContext& context) {
    std::optional<T> result;
    withParsedJson(text, context, [&](const JsonValue& root) { result.emplace(root.decode<T>()); });
    return std::move(*result);
}

} // namespace gltf
