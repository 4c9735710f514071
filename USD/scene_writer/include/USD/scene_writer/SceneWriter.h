#pragma once

#include <SceneGraph/AnimationClip.h>
#include <SceneGraph/Bytes.h>
#include <SceneGraph/Scene.h>
#include <USD/layer/Layer.h>
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

// Which readers a package is made for.
enum class WriteProfile {
    // AR Quick Look's rules: only the prim types and shaders it accepts; lights, curves and
    // anything else off its list are left out, each with a finding that names it.
    ar,
    // Everything the scene holds, for USD tools.
    usd,
};

// How writeUSDZ and buildSceneLayer shape the package; the defaults fit AR Quick Look.
struct WriteOptions {
    WriteProfile profile = WriteProfile::ar;
    // Textures with a longer side are downscaled to it; 0 keeps every texture's size.
    unsigned maxTextureSize = 2048;
    // The decompressed bytes, mip levels included, all textures are fitted into; 0 for no limit.
    std::uint64_t textureBudgetBytes = std::uint64_t{160} << 20;
    // Meshes are simplified until the package holds at most this many triangles; 0 keeps them.
    std::uint64_t maxTriangles = 0;
    // The animation clip to keep, by name or by index in the source; empty for the default
    // choice.
    std::string animation;
};

// The animation clips of a scene, and those a package plays.
struct WrittenClips {
    std::vector<scene::AnimationClip> all; // by index in the source
    std::vector<std::size_t> played;       // the indices of the clips written, ascending
};

struct USDZWriteResult {
    bool succeeded = false;
    std::string failure;            // why, when !succeeded (fit to show a user)
    std::vector<std::string> notes; // what the written file lacks or would show wrongly
    WrittenClips clips;
};

// Writes the scene as a USDZ package at `url`: the crate root layer first, then one file per
// distinct image (original PNG/JPEG bytes where the scene still has them). Never throws for bad
// scene content; a file that cannot be written is a failure, and no file is left.
// `packageName` names the root prim (made a valid prim name) and the root layer; empty, the
// url's base name does. Once a stop is requested through `stop`, the write ends at its next
// progress step as a failure, and no file is left.
//
// What moves is written too. Skinned geometry goes to a SkelRoot with a Skeleton (one per
// connected hierarchy of bones) and a SkelAnimation; morph targets become blend shapes. The
// animations of the clips chosen (see WriteOptions::animation) play together on one looping
// timeline at 120 codes per second, from 0 to the end of the longest: an animation that loops
// on its own within it (glTF morph weights do) repeats, one that does not holds its last
// value, and where two of one clip drive the same property the one the scene applies last is
// written.
USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& url,
                          const SceneWriteProgress& progress = {},
                          const std::string& packageName = {}, std::stop_token stop = {},
                          const WriteOptions& options = {});

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
    std::vector<std::string> notes;
    WrittenClips clips;
};

// The layer writeUSDZ would package. `rootName` is the name wanted for the root prim (the
// output file's base name); it is made a valid prim name. Progress runs from 0 to 1.
SceneLayer buildSceneLayer(const scene::Scene& scene, const std::string& rootName = "Root",
                           const SceneWriteProgress& progress = {},
                           const WriteOptions& options = {});

// The self-check alone: what the written layer lacks or would show wrongly (AR Quick Look's
// rules, as the package checker holds any package to them: prim types, shader ids and input
// types, connections, bindings, normal maps, asset paths, layer metadata; and primvar counts,
// skeletons), and what of the scene was left out of it. With `packaged`, every asset path must
// also name one of those files.
std::vector<std::string> checkWrittenLayer(const scene::Scene& scene, const Layer& layer,
                                           const std::vector<PackagedFile>* packaged = nullptr);

} // namespace usd
