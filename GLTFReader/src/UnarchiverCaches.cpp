#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/IndexCache.h>
#include <GLTFReader/UnarchiverCaches.h>

namespace gltf {
namespace {

template <class Element> std::size_t countOf(const std::optional<std::vector<Element>>& array) {
    return array ? array->size() : 0;
}

} // namespace

UnarchiverCaches UnarchiverCaches::sizedFor(const GLTFGlTF& document) {
    UnarchiverCaches caches;
    caches.scenes.resize(countOf(document.scenes));
    caches.cameras.resize(countOf(document.cameras));
    caches.nodes.resize(countOf(document.nodes));
    caches.skins.resize(countOf(document.skins));
    caches.animationChannels.resize(countOf(document.animations));
    caches.animationSamplers.resize(countOf(document.animations));
    caches.meshes.resize(countOf(document.meshes));
    caches.accessors.resize(countOf(document.accessors));
    caches.durations.resize(countOf(document.accessors));
    caches.bufferViews.resize(countOf(document.bufferViews));
    caches.buffers.resize(countOf(document.buffers));
    caches.materials.resize(countOf(document.materials));
    caches.textures.resize(countOf(document.textures));
    caches.images.resize(countOf(document.images));
    return caches;
}

std::string outOfIndexMessage(std::string_view operationName, std::int64_t index,
                              std::size_t count) {
    return std::string(operationName) + ": out of index: " + std::to_string(index) + " < " +
           std::to_string(count);
}

} // namespace gltf
