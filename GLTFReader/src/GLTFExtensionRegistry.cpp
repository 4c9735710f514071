#include <GLTFReader/GLTFExtensionRegistry.h>
#include <GLTFReader/GLTFKHRMaterialsCommon.h>
#include <GLTFReader/GLTFKHRMaterialsPbrSpecularGlossiness.h>
#include <GLTFReader/GLTFVRM.h>

namespace gltf {
namespace {

template <class Wrapper> std::pair<std::string, GLTFExtensionType> entry() {
    return {Wrapper::extensionName, GLTFExtensionType::of<Wrapper>()};
}

} // namespace

GLTFExtensionRegistry builtInExtensionRegistry() {
    return {
        entry<GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension>(),
        entry<
            GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension>(),
        entry<GLTFVRM_GLTFVRMExtension>(),
    };
}

GLTFExtensionRegistry mergedExtensionRegistry(const GLTFExtensionRegistry& callerRegistry) {
    GLTFExtensionRegistry merged = builtInExtensionRegistry();
    for (const auto& [name, type] : callerRegistry) {
        merged.insert_or_assign(name, type);
    }
    return merged;
}

} // namespace gltf
