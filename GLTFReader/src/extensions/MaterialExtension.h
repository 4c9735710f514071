#pragma once

#include <GLTFReader/GLTFCodable.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <any>
#include <memory>

namespace gltf::extensions {

// The material a loader just finished, when the loaded object is one; extensions that only
// mean something on materials leave every other object alone.
inline scene::Material* loadedMaterial(const GLTFLoadedObject& object) {
    const auto* material = std::any_cast<std::shared_ptr<scene::Material>>(&object);
    return material != nullptr ? material->get() : nullptr;
}

} // namespace gltf::extensions
