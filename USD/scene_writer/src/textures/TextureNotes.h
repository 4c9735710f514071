#pragma once

// What the user is told about the sizes of a package's textures.

#include "textures/TextureFitting.h"

#include <string>

namespace usd::writer {

// The texture `name` was downscaled from `source` to `fitted`, and why.
std::string downscaleNote(const std::string& name, TextureSize source, const FittedSize& fitted,
                          const TextureLimits& limits);

// The texture could not be downscaled and is packaged as it is.
std::string failedDownscaleNote(const std::string& name, TextureSize source,
                                const std::string& failure);

} // namespace usd::writer
