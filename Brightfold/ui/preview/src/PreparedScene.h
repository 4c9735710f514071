#pragma once

#include "IndexPacking.h"
#include "TextureDecoding.h"
#include "VertexPacking.h"
#include "VertexStreams.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace scene {
class Image;
class Node;
class Scene;
} // namespace scene

namespace brightfold::preview {

/// One mesh in the buffers the renderer takes, with what could not be shown of it.
struct PreparedMesh {
    /// Kept only for meshes with morph targets, which are blended from them again.
    VertexStreams streams;
    PackedVertices vertices;
    std::vector<PackedIndices> parts;
    QStringList problems;
};

/// An image's pixels, or why it could not be decoded.
struct PreparedTexture {
    bool decoded = false;
    DecodedTexture pixels;
    QString error;
};

/// The slow part of showing a scene, done without a window: every mesh's packed buffers (by
/// the scene node holding it) and every material image decoded. Reading the scene only, it
/// may be made on any thread while nothing changes the scene.
struct PreparedScene {
    std::map<const scene::Node*, PreparedMesh> meshes;
    std::map<const scene::Image*, PreparedTexture> textures;
};

/// The mesh of `node` (which must hold a geometry); an empty mesh has no vertices.
PreparedMesh prepareMesh(const scene::Node& node);
PreparedTexture prepareTexture(const scene::Image& image);

class ImagesDecodedAhead;

/// The images the materials of the scene's meshes show, each once.
std::vector<std::shared_ptr<scene::Image>> materialImagesOf(const scene::Scene& scene);

/// Decodes the images on a second thread while the meshes are packed on this one; images whose
/// bytes are among those decoded `ahead` are taken from there.
PreparedScene prepareScene(const scene::Scene& scene, const ImagesDecodedAhead& ahead);

} // namespace brightfold::preview
