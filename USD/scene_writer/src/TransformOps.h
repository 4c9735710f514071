#pragma once

#include <SceneGraph/Node.h>
#include <USD/LayerBuilder.h>

namespace usd::writer {

// Authors the node's local transform on `prim`: translate / orient / scale ops (identity parts
// left out), or one matrix op when the transform has shear or projective terms. An identity
// transform authors nothing.
void writeTransformOps(LayerBuilder& build, const Path& prim, const scene::Node& node);

} // namespace usd::writer
