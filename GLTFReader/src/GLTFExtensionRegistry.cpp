#include "extensions/EXTMeshGpuInstancing.h"
#include "extensions/EXTMeshoptCompression.h"
#include "extensions/EXTTextureWebp.h"
#include "extensions/GLTFKHRMaterialsCommon.h"
#include "extensions/GLTFKHRMaterialsPbrSpecularGlossiness.h"
#include "extensions/KHRDracoMeshCompression.h"
#include "extensions/KHRLightsPunctual.h"
#include "extensions/KHRMaterialsClearcoat.h"
#include "extensions/KHRMaterialsEmissiveStrength.h"
#include "extensions/KHRMaterialsIor.h"
#include "extensions/KHRMaterialsUnlit.h"
#include "extensions/KHRMaterialsVariants.h"
#include "extensions/KHRTextureTransform.h"
#include "extensions/LeftOutMaterialExtensions.h"
#include "vrm/GLTFVRM.h"

#include <GLTFReader/GLTFExtensionRegistry.h>

namespace gltf {
namespace {

template <class Wrapper> std::pair<std::string, GLTFExtensionType> entry() {
    return {Wrapper::extensionName, GLTFExtensionType::of<Wrapper>()};
}

// An extension with nothing to decode on records: the loaders apply it where its data lies
// (quantized accessors are read into floats wherever they appear).
std::pair<std::string, GLTFExtensionType> appliedByLoaders(const char* name) {
    return {name, {[](const JsonObject&) { return nullptr; }}};
}

} // namespace

GLTFExtensionRegistry builtInExtensionRegistry() {
    GLTFExtensionRegistry registry{
        entry<GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension>(),
        entry<
            GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension>(),
        entry<GLTFVRM_GLTFVRMExtension>(),
        entry<extensions::EXTMeshGpuInstancing>(),
        entry<extensions::EXTMeshoptCompression>(),
        entry<extensions::EXTTextureWebp>(),
        entry<extensions::KHRDracoMeshCompression>(),
        entry<extensions::KHRLightsPunctual>(),
        entry<extensions::KHRMaterialsClearcoat>(),
        entry<extensions::KHRMaterialsEmissiveStrength>(),
        entry<extensions::KHRMaterialsIor>(),
        entry<extensions::KHRMaterialsUnlit>(),
        entry<extensions::KHRMaterialsVariants>(),
        entry<extensions::KHRTextureTransform>(),
        appliedByLoaders("KHR_mesh_quantization"),
    };
    const auto leftOut = extensions::leftOutMaterialExtensionEntries();
    registry.insert(leftOut.begin(), leftOut.end());
    return registry;
}

GLTFExtensionRegistry mergedExtensionRegistry(const GLTFExtensionRegistry& callerRegistry) {
    GLTFExtensionRegistry merged = builtInExtensionRegistry();
    for (const auto& [name, type] : callerRegistry) {
        merged.insert_or_assign(name, type);
    }
    return merged;
}

} // namespace gltf
