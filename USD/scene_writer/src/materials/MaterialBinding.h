#pragma once

#include <USD/layer/LayerBuilder.h>

namespace usd::writer {

// Binds `material` to a gprim or GeomSubset, applying the binding API its relationship needs.
void bindMaterial(LayerBuilder& build, const Path& prim, const Path& material);

} // namespace usd::writer
