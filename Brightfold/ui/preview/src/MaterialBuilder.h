#pragma once

#include "MaterialDescription.h"
#include "PreparedScene.h"

#include <QColor>
#include <QStringList>
#include <map>
#include <memory>
#include <utility>

class QQuick3DObject;
class QQuick3DTextureData;

namespace scene {
class Material;
}

namespace brightfold::preview {

class QuickObjectFactory;

/// Turns scene materials into the renderer's physically based materials, decoding each image
/// once however many slots use it (or taking it from `decoded`, images decoded beforehand).
/// Made objects belong to `owner`.
class MaterialBuilder {
  public:
    MaterialBuilder(QuickObjectFactory& factory, QQuick3DObject& owner, QStringList& problems,
                    std::map<const scene::Image*, PreparedTexture>& decoded);

    /// The renderer's material for `material` (the same object each time it is asked for the
    /// same material and mirroring); a plain white surface for null. Meshes under a mirroring
    /// transform need the opposite face culling.
    QQuick3DObject* materialFor(const std::shared_ptr<scene::Material>& material, bool mirrored);

  private:
    QQuick3DObject* build(const MaterialDescription& description);
    void setMap(QQuick3DObject& material, const char* property,
                const std::optional<TextureDescription>& texture);
    void setChannel(QQuick3DObject& material, const char* property,
                    const std::optional<TextureDescription>& texture);
    QQuick3DObject* textureFor(const TextureDescription& description);
    QQuick3DTextureData* pixelsFor(const std::shared_ptr<scene::Image>& image);

    PreparedTexture takeTexture(const scene::Image& image);

    QuickObjectFactory& factory_;
    QQuick3DObject& owner_;
    QStringList& problems_;
    std::map<const scene::Image*, PreparedTexture>& decoded_;
    std::map<std::pair<const scene::Material*, bool>, QQuick3DObject*> materials_;
    /// Null for an image that could not be decoded.
    std::map<const scene::Image*, QQuick3DTextureData*> pixels_;
};

/// A linear RGBA colour as the renderer's colour properties take it: sRGB-encoded (the renderer
/// linearises it again), clamped to [0, 1].
QColor srgbColorOf(const glm::vec4& linear);

} // namespace brightfold::preview
