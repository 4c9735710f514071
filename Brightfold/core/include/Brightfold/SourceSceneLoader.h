#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace brightfold {

// A source file that yields no usable scene; what() describes why for the user.
class LoadFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Printed once each time the glTF reader refuses a file and the importer takes over.
inline constexpr const char* fallbackNotice =
    "GLTFReader encountered an unsupported extension. Falling back to native Model I/O.";

// A loaded source scene and what the user should know about how it was read.
struct LoadedScene {
    SceneHandle scene;
    std::vector<std::string> notes;
};

// The file's last extension without its dot, in lower case ("Model.GLB" gives "glb").
std::string lowerCasedExtension(const std::filesystem::path& file);

// Loads the scene of a source file, choosing the loader by its extension in any letter case:
// .usdc and .usd go to the importer; .gltf, .glb and .vrm go to the glTF reader and, if it
// refuses them, to the importer, which must then find some geometry (a note then says why the
// reader refused); a .usdz package goes to the USDZ reader, to be written again, with a note
// for each of AR Quick Look's rules it broke. Anything else is refused. Throws LoadFailure, or
// whatever the importer throws; after a stop request, whatever it throws means only that it
// stopped.
LoadedScene loadSourceScene(const std::filesystem::path& file, ConversionServices& services,
                            std::stop_token stop = {});

} // namespace brightfold
