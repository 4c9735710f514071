#include <USD/ar_check/ARBudgets.h>
#include <cstdio>

namespace usd::ar {
namespace {

std::string withOneDecimal(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", number);
    return text;
}

std::string mebibytes(std::uint64_t bytes) {
    return withOneDecimal(static_cast<double>(bytes) / (1 << 20)) + " MiB";
}

void checkTriangles(const PackageMeasures& measures, const ARBudgets& budgets,
                    RuleProblems& problems) {
    if (measures.triangles <= budgets.triangles)
        return;
    const std::string budget = std::to_string(budgets.triangles);
    problems.push_back({std::string(budget::triangles), "",
                        "The package holds " + std::to_string(measures.triangles) + " triangles, " +
                            std::to_string(measures.triangles - budgets.triangles) +
                            " more than AR Quick Look's budget of " + budget +
                            ": simplify the model (--max-triangles " + budget + ")."});
}

void checkTextureSides(const PackageMeasures& measures, const ARBudgets& budgets,
                       RuleProblems& problems) {
    const std::string side = std::to_string(budgets.textureSide);
    for (const MeasuredTexture& texture : measures.textures)
        if (texture.width > budgets.textureSide || texture.height > budgets.textureSide)
            problems.push_back({std::string(budget::textureSize), texture.name,
                                "is " + std::to_string(texture.width) + " x " +
                                    std::to_string(texture.height) +
                                    " pixels, longer than AR Quick Look's " + side +
                                    " a side: downscale it (--max-texture-size " + side + ")."});
}

void checkTextureMemory(const PackageMeasures& measures, const ARBudgets& budgets,
                        RuleProblems& problems) {
    if (budgets.textureBytes == 0 || measures.textureBytes <= budgets.textureBytes)
        return;
    problems.push_back({std::string(budget::textureMemory), "",
                        "The textures take " + mebibytes(measures.textureBytes) +
                            " decompressed with their mip levels, " +
                            mebibytes(measures.textureBytes - budgets.textureBytes) +
                            " more than the budget of " + mebibytes(budgets.textureBytes) +
                            ": downscale them (--texture-budget " +
                            std::to_string(budgets.textureBytes >> 20) + ")."});
}

void checkAnimation(const PackageMeasures& measures, const ARBudgets& budgets,
                    RuleProblems& problems) {
    if (measures.animationSeconds <= budgets.animationSeconds)
        return;
    problems.push_back({std::string(budget::animationLength), "",
                        "The animation plays " + withOneDecimal(measures.animationSeconds) +
                            " s, " +
                            withOneDecimal(measures.animationSeconds - budgets.animationSeconds) +
                            " s longer than AR Quick Look's budget of " +
                            withOneDecimal(budgets.animationSeconds) +
                            " s: keep a shorter clip (--animation NAME|INDEX)."});
}

} // namespace

RuleProblems overBudget(const PackageMeasures& measures, const ARBudgets& budgets) {
    RuleProblems problems;
    checkTriangles(measures, budgets, problems);
    checkTextureSides(measures, budgets, problems);
    checkTextureMemory(measures, budgets, problems);
    checkAnimation(measures, budgets, problems);
    return problems;
}

} // namespace usd::ar
