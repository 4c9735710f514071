#pragma once

#include <USD/ar_check/ARRules.h>
#include <USD/layer/Layer.h>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What AR Quick Look can hold on a phone, and how much of it a package asks for.
namespace usd::ar {

// The budgets by name, as the checker's lines name them.
namespace budget {
inline constexpr std::string_view triangles = "triangle-budget";
inline constexpr std::string_view textureSize = "texture-size-budget";
inline constexpr std::string_view textureMemory = "texture-memory-budget";
inline constexpr std::string_view animationLength = "animation-budget";
} // namespace budget

struct ARBudgets {
    std::uint64_t triangles = 100'000;
    unsigned textureSide = 2048;
    // Every texture decompressed to RGBA8 with its mip levels, as the viewer holds them; the
    // viewer's own limit is about 200 MB, and this leaves room for the rest of the model.
    std::uint64_t textureBytes = std::uint64_t{160} << 20;
    double animationSeconds = 10;
};

struct MeasuredTexture {
    std::string name; // the file in the package
    unsigned width = 0;
    unsigned height = 0;
};

struct PackageMeasures {
    std::uint64_t triangles = 0; // of every mesh, each face fanned into triangles
    std::vector<MeasuredTexture> textures;
    std::uint64_t textureBytes = 0;
    double animationSeconds = 0; // 0 for a static package
};

// The bytes one texture takes in the viewer: four per pixel and a third more for its mips.
std::uint64_t heldTextureBytes(unsigned width, unsigned height);

// Adds the layer's triangles and sets how long its animation plays: from startTimeCode to
// endTimeCode when both are authored, else over its time samples.
void measureLayer(const Layer& layer, PackageMeasures& measures);

// Adds one texture.
void measureTexture(MeasuredTexture texture, PackageMeasures& measures);

// One problem per budget the measures exceed, saying by how much and what to do.
RuleProblems overBudget(const PackageMeasures& measures, const ARBudgets& budgets);

} // namespace usd::ar
