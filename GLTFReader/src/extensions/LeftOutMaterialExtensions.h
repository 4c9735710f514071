#pragma once

#include <GLTFReader/GLTFExtensionRegistry.h>
#include <string>
#include <utility>
#include <vector>

namespace gltf::extensions {

// Material extensions whose effects (sheen, transmission, volume, specular colour,
// iridescence, anisotropy, dispersion) a USD preview surface has no inputs for. Their
// materials load as the core material describes them, noted as shown without the extension,
// so a file that requires one still converts.
std::vector<std::pair<std::string, GLTFExtensionType>> leftOutMaterialExtensionEntries();

} // namespace gltf::extensions
