#pragma once

#include <SceneGraph/Bytes.h>
#include <SceneGraph/Scene.h>
#include <USD/Layer.h>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace usd {

// Told how far a write has come, from 0 to 1 (exactly 1 once, at the end). May be called on
// any thread.
using SceneWriteProgress = std::function<void(double fraction)>;

struct USDZWriteResult {
    bool succeeded = false;
    std::string failure;               // why, when !succeeded (fit to show a user)
    std::vector<std::string> findings; // what the written file lacks or would show wrongly
};

// Writes the scene as a USDZ package at `url`: the crate root layer first, then one file per
// distinct image (original PNG/JPEG bytes where the scene still has them). Never throws for bad
// scene content; a file that cannot be written is a failure, and no file is left.
// `packageName` names the root prim (made a valid prim name) and the root layer; empty, the
// url's base name does. Once a stop is requested through `stop`, the write ends at its next
// progress step as a failure, and no file is left.
//
// What moves is written too. Skinned geometry goes to a SkelRoot with a Skeleton (one per
// connected hierarchy of bones) and a SkelAnimation; morph targets become blend shapes. All
// animations of the scene play together on one looping timeline at 120 codes per second, from
// 0 to the end of the longest: an animation that loops on its own within it (glTF morph
// weights do) repeats, one that does not holds its last value, and where two drive the same
// property the one the scene applies last is written.
USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& url,
                          const SceneWriteProgress& progress = {},
                          const std::string& packageName = {}, std::stop_token stop = {});

// A file packaged beside the root layer ("textures/wood.png").
struct PackagedFile {
    std::string name;
    scene::Bytes bytes;
};

// The root layer and the files it names, as writeUSDZ would package them.
struct SceneLayer {
    Layer layer;
    std::vector<PackagedFile> files;
    // What was dropped or changed while building (out-of-range triangles, integer positions …).
    std::vector<std::string> findings;
};

// The layer writeUSDZ would package. `rootName` is the name wanted for the root prim (the
// output file's base name); it is made a valid prim name. Progress runs from 0 to 1.
SceneLayer buildSceneLayer(const scene::Scene& scene, const std::string& rootName = "Root",
                           const SceneWriteProgress& progress = {});

// The self-check alone: what the written layer lacks or would show wrongly (prim types, shader
// ids and input types the AR viewer accepts, connections, bindings, primvar counts, asset
// paths, layer metadata), and what of the scene was left out of it. With `packaged`, every
// asset path must also name one of those files.
std::vector<std::string> checkWrittenLayer(const scene::Scene& scene, const Layer& layer,
                                           const std::vector<PackagedFile>* packaged = nullptr);

} // namespace usd
