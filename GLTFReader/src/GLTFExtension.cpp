#include <GLTFReader/GLTFCodable.h>
#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFExtensionRegistry.h>
#include <GLTFReader/JsonDecoder.h>

GLTFExtension GLTFExtension::decode(const gltf::JsonObject& json) {
    GLTFExtension result;
    const GLTFExtensionRegistry* registry = json.context().extensionRegistry;
    if (registry == nullptr) {
        return result;
    }
    for (const auto& [name, type] : *registry) {
        result.extensions.emplace(name, type.decode(json));
    }
    return result;
}

GLTFExtrasTargetNames GLTFExtrasTargetNames::decode(const gltf::JsonObject& json) {
    return {
        .targetNames = json.optional<std::vector<std::string>>("targetNames"),
    };
}

GLTFExtras GLTFExtras::decode(const gltf::JsonObject& json) {
    return {
        .extensions = {{"TargetNames", GLTFExtrasTargetNames::decode(json)}},
    };
}

namespace gltf {

void runExtensionHooks(const std::optional<GLTFExtension>& extensions,
                       const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) {
    if (!extensions) {
        return;
    }
    for (const auto& [name, extension] : extensions->extensions) {
        if (extension) { // a caller's decoder may decline to produce a record
            extension->onLoaded(object, unarchiver);
        }
    }
}

} // namespace gltf

// An extension without scene behaviour of its own only carries data.
void GLTFExtensionValue::onLoaded(const GLTFLoadedObject&, GLTFUnarchiver&) const {}
