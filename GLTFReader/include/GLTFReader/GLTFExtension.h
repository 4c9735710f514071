#pragma once

#include <GLTFReader/GLTFCodable.h>
#include <concepts>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gltf {
class JsonObject;
}

// The decoded "extensions" object of a record: one entry for every name of the extension
// registry in force, whether or not the JSON object has a member of that name. Members whose
// names are not registered are never read.
struct GLTFExtension {
    std::map<std::string, std::shared_ptr<const GLTFExtensionValue>> extensions;

    static GLTFExtension decode(const gltf::JsonObject& json);
};

// The only extras record: names of a mesh's morph targets.
struct GLTFExtrasTargetNames {
    std::optional<std::vector<std::string>> targetNames;

    static GLTFExtrasTargetNames decode(const gltf::JsonObject& json);
};

// The decoded "extras" object of a record. Callers cannot add extras names, so the single
// known record is held by value under "TargetNames".
struct GLTFExtras {
    std::map<std::string, GLTFExtrasTargetNames> extensions;

    static GLTFExtras decode(const gltf::JsonObject& json);
};

namespace gltf {

void runExtensionHooks(const std::optional<GLTFExtension>& extensions,
                       const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver);

template <class Record>
concept PropertyRecord = requires(const Record& record) {
    { record.extensions } -> std::convertible_to<const std::optional<GLTFExtension>&>;
};

// The post-load hook of every document record: each extension decoded on the record gets
// the hook with the same object and unarchiver. Loaders call it after building a scene
// object from the record.
template <PropertyRecord Record>
void onLoaded(const Record& record, const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) {
    runExtensionHooks(record.extensions, object, unarchiver);
}

} // namespace gltf
