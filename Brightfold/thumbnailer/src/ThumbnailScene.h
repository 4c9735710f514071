#pragma once

#include <Brightfold/ConversionServices.h>
#include <Brightfold/SceneHandle.h>
#include <cstdint>
#include <filesystem>

namespace brightfold::thumbnailer {

/// Files larger than this are not opened: a file manager asks for pictures of every file in a
/// folder, and one huge model must not hold up the rest (other thumbnailers stop at the same
/// size).
inline constexpr std::uintmax_t maximumInputBytes = std::uintmax_t{100} << 20;

/// The scene of a model file as the preview would show it: .usdz packages and .usdc layers
/// read as they are, other models loaded as a conversion loads them (the same readers, with the
/// same limits), the backdrop cleared. Throws std::runtime_error, with a message for the user,
/// when the file is too large, cannot be read or holds nothing to draw.
SceneHandle loadThumbnailScene(const std::filesystem::path& file, ConversionServices& services);

} // namespace brightfold::thumbnailer
