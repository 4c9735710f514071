#pragma once

#include <GLTFReader/GLTFCodable.h>
#include <GLTFReader/JsonDecoder.h>
#include <functional>
#include <map>
#include <memory>
#include <string>

// How to decode one extension: the decoder receives the whole "extensions" object of a record
// and reads the member it is interested in (usually the one named after the extension).
struct GLTFExtensionType {
    std::function<std::shared_ptr<const GLTFExtensionValue>(const gltf::JsonObject&)> decode;

    // For a record type deriving from GLTFExtensionValue with a static decode function.
    template <class Record> static GLTFExtensionType of() {
        return {[](const gltf::JsonObject& json) -> std::shared_ptr<const GLTFExtensionValue> {
            return std::make_shared<const Record>(Record::decode(json));
        }};
    }
};

namespace gltf {

// The extensions the reader understands on its own, keyed by extension name.
GLTFExtensionRegistry builtInExtensionRegistry();

// The built-in registry with the caller's entries laid over it: a caller can add names and
// replace the type of a built-in name, but cannot remove one.
GLTFExtensionRegistry mergedExtensionRegistry(const GLTFExtensionRegistry& callerRegistry);
} // namespace gltf
