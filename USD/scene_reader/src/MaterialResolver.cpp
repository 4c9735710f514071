#include "MaterialResolver.h"

#include "MaterialBinding.h"
#include "OriginalName.h"
#include "PreviewSurface.h"

namespace usd::reader {
namespace {

bool isPreviewSurface(const std::string& id) {
    return id == "UsdPreviewSurface" || id == "ND_UsdPreviewSurface_surfaceshader";
}

} // namespace

MaterialResolver::MaterialResolver(const Stage& stage, AssetResolver& assets, SceneReadNotes& notes)
    : stage_(stage), notes_(notes), network_(stage, notes), textures_(network_, assets, notes) {}

ResolvedMaterial MaterialResolver::materialFor(const ComposedPrim& bound, const ComposedPrim& gprim,
                                               bool doubleSided) {
    const ComposedPrim* materialPrim = boundMaterial(stage_, bound, notes_);
    const std::optional<ShaderOutput> surface =
        materialPrim ? network_.surface(*materialPrim) : std::nullopt;
    if (!surface || !isPreviewSurface(ShaderNetwork::shaderId(*surface->shader))) {
        if (materialPrim != nullptr) {
            notes_.push_back("The material " + materialPrim->path().text() +
                             " has no UsdPreviewSurface; the mesh's display colour is used.");
        }
        ResolvedMaterial fallback = displayColorMaterial(gprim);
        fallback.material->doubleSided = doubleSided;
        return fallback;
    }
    const auto key = std::make_pair(surface->shader, doubleSided);
    if (const auto found = built_.find(key); found != built_.end()) {
        return found->second;
    }
    ResolvedMaterial resolved =
        previewSurfaceMaterial(*surface->shader, network_, textures_, notes_);
    resolved.material->name = originalName(*materialPrim);
    resolved.material->doubleSided = doubleSided;
    return built_.emplace(key, std::move(resolved)).first->second;
}

} // namespace usd::reader
