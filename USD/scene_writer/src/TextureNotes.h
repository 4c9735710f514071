#pragma once

// What the user is told about the sizes of a package's textures.

#include "TextureFitting.h"

#include <USD/USDZWriter.h>
#include <string>
#include <vector>

namespace usd::writer {

// The texture `name` was downscaled from `source` to `fitted`, and why.
std::string downscaleNote(const std::string& name, TextureSize source, const FittedSize& fitted,
                          const TextureLimits& limits);

// The texture could not be downscaled and is packaged as it is.
std::string failedDownscaleNote(const std::string& name, TextureSize source,
                                const std::string& failure);

// Textures still beyond what the AR viewer shows well once packaged at these sizes (the
// limits were lifted): sides above 2048 pixels, more than 160 MiB decoded in all.
std::vector<std::string> viewerLimitNotes(const std::vector<PackagedFile>& files,
                                          const std::vector<TextureSize>& packaged);

} // namespace usd::writer
