#pragma once

#include <USD/layer/LayerBuilder.h>
#include <string_view>

namespace usd::writer {

// Applies an API schema to the prim, keeping the ones it already applies.
void applySchema(LayerBuilder& build, const Path& prim, std::string_view schema);

} // namespace usd::writer
