#include "GLBContainer.h"

#include <GLTFReader/ConsoleOutput.h>
#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/JsonDecoder.h>
#include <algorithm>

namespace {

GLTFGlTF decodeDocument(const gltf::ByteSlice& jsonText, const GLTFExtensionRegistry& registry) {
    const gltf::DecodingContext context{.extensionRegistry = &registry};
    return gltf::decodeJson<GLTFGlTF>(jsonText.bytes(), context);
}

// A document that needs an extension we cannot apply would load with wrong data (compressed
// geometry reads as zeros, say) and look like a success. Refusing it lets the caller fall back
// to another importer.
void refuseUnknownRequiredExtensions(const GLTFGlTF& document,
                                     const GLTFExtensionRegistry& registry) {
    for (const std::string& name :
         document.extensionsRequired.value_or(std::vector<std::string>{})) {
        if (!registry.contains(name)) {
            throw GLTFUnarchiveError::notSupported("init: required extension " + name +
                                                   " is not supported");
        }
    }
}

GLTFGlTF decodeSupportedDocument(const gltf::ByteSlice& jsonText,
                                 const GLTFExtensionRegistry& callerRegistry) {
    const GLTFExtensionRegistry registry = gltf::mergedExtensionRegistry(callerRegistry);
    GLTFGlTF document = decodeDocument(jsonText, registry);
    refuseUnknownRequiredExtensions(document, registry);
    return document;
}

} // namespace

GLTFUnarchiver::GLTFUnarchiver(gltf::ByteBlock data, const GLTFExtensionRegistry& callerRegistry)
    : GLTFUnarchiver(std::move(data), std::nullopt, callerRegistry) {}

GLTFUnarchiver::GLTFUnarchiver(const std::filesystem::path& path,
                               const GLTFExtensionRegistry& callerRegistry)
    : GLTFUnarchiver(gltf::readWholeFile(path), path.parent_path(), callerRegistry) {}

GLTFUnarchiver::GLTFUnarchiver(gltf::ByteBlock data,
                               std::optional<std::filesystem::path> directoryPath,
                               const GLTFExtensionRegistry& callerRegistry)
    : directoryPath_(std::move(directoryPath)) {
    const gltf::ContainerContents contents = gltf::splitContainer(gltf::ByteSlice::whole(data));
    json_ = decodeSupportedDocument(contents.jsonText, callerRegistry);
    bin_ = contents.binaryChunk;
    caches_ = gltf::UnarchiverCaches::sizedFor(json_);
}

void GLTFUnarchiver::noteOnce(const std::string& message) {
    if (std::find(notes_.begin(), notes_.end(), message) != notes_.end()) {
        return;
    }
    notes_.push_back(message);
    gltf::writeConsoleLine("warning: " + message);
}
