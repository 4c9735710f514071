#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <stdexcept>

namespace brightfold {

// A source file that yields no usable scene; what() describes why for the user.
class LoadFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Printed once each time the glTF reader refuses a file and the importer takes over.
inline constexpr const char* fallbackNotice =
    "GLTFReader encountered an unsupported extension. Falling back to native Model I/O.";

// Loads the scene of a source file, choosing the loader by its extension in any letter case:
// .usdc and .usd go to the importer; .gltf, .glb and .vrm go to the glTF reader and, if it
// refuses them, to the importer, which must then find some geometry. Anything else is refused. Throws
// LoadFailure, or whatever the importer throws.
SceneHandle loadSourceScene(const std::filesystem::path& file, ConversionServices& services);

} // namespace brightfold
