#include "ShaderModifiers.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

TEST(ShaderModifiers, EveryTextTheLoadersAttachIsEmbeddedWithItsUniforms) {
    const std::pair<const char*, std::vector<const char*>> textsAndUniforms[] = {
        {"GLTFShaderModifierSurface", {"baseColorFactorA", "metallicFactor", "emissiveFactorB"}},
        {"GLTFShaderModifierSurface_alphaModeBlend", {"baseColorFactorA", "roughnessFactor"}},
        {"GLTFShaderModifierFragment_alphaCutoff", {"alphaCutoff"}},
        {"GLTFShaderModifierSurface_pbrSpecularGlossiness", {"diffuseFactorR", "glossinessFactor"}},
        {"GLTFShaderModifierSurface_pbrSpecularGlossiness_texture_doubleSidedWorkaround",
         {"specularFactorB", "glossinessFactor", "multiply"}},
        {"GLTFShaderModifierFragment_VRMUnlitTexture", {"baseColor"}},
        {"GLTFShaderModifierFragment_VRMUnlitTexture_Cutoff", {"baseColor", "alphaCutoff"}},
    };
    for (const auto& [name, uniforms] : textsAndUniforms) {
        const std::string text(gltf::shaderModifier(name));
        for (const char* uniform : uniforms) {
            EXPECT_NE(text.find(uniform), std::string::npos) << name << " lacks " << uniform;
        }
    }
    EXPECT_THROW(gltf::shaderModifier("GLTFShaderModifierMissing"), std::logic_error);
}
