#pragma once

#include <GLTFReader/ByteSlice.h>
#include <GLTFReader/IndexCache.h>
#include <SceneGraph/Animation.h>
#include <SceneGraph/Camera.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialProperty.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <any>
#include <memory>
#include <vector>

struct GLTFGlTF;

namespace gltf {

// The unarchiver's per-index caches, one slot per element of the matching document array.
struct UnarchiverCaches {
    IndexCache<std::shared_ptr<scene::Scene>> scenes;
    IndexCache<std::shared_ptr<scene::Camera>> cameras;
    IndexCache<std::shared_ptr<scene::Node>> nodes;
    // Only its size is used: skinners are built anew on every request.
    IndexCache<std::shared_ptr<scene::Skinner>> skins;
    // Only its size is used, for the animation index check.
    IndexCache<std::vector<std::shared_ptr<scene::AnimationGroup>>> animationChannels;
    // Per animation, the group built for each sampler number (null until built).
    IndexCache<std::vector<std::shared_ptr<scene::AnimationGroup>>> animationSamplers;
    // The node that holds a mesh's primitives; requests get a clone.
    IndexCache<std::shared_ptr<scene::Node>> meshes;
    // What an accessor became depends on the loader that read it (geometry source, geometry
    // element, key times or key values).
    IndexCache<std::any> accessors;
    // Key-time durations, one slot per accessor.
    IndexCache<double> durations;
    IndexCache<ByteSlice> bufferViews;
    IndexCache<ByteSlice> buffers;
    IndexCache<std::shared_ptr<scene::Material>> materials;
    IndexCache<std::shared_ptr<scene::MaterialProperty>> textures;
    IndexCache<std::shared_ptr<scene::Image>> images;

    static UnarchiverCaches sizedFor(const GLTFGlTF& document);
};

} // namespace gltf
