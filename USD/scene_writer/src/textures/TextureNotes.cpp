#include "textures/TextureNotes.h"

namespace usd::writer {
namespace {

// The side AR Quick Look shows without scaling a texture down.
constexpr unsigned viewerSide = 2048;

std::string sizeText(TextureSize size) {
    return std::to_string(size.width) + "×" + std::to_string(size.height);
}

std::string mebibytes(std::uint64_t bytes) {
    const std::uint64_t whole = bytes >> 20;
    if (whole << 20 == bytes)
        return std::to_string(whole) + " MiB";
    const std::uint64_t tenths = ((bytes - (whole << 20)) * 10) >> 20;
    return std::to_string(whole) + "." + std::to_string(tenths) + " MiB";
}

std::string sideReason(unsigned maxSide) {
    if (maxSide == viewerSide)
        return "2048 pixels a side is AR Quick Look's limit (--max-texture-size keep keeps it)";
    return std::to_string(maxSide) + " pixels a side at most were asked for (--max-texture-size)";
}

std::string budgetReason(std::uint64_t budgetBytes) {
    return "all textures together must fit into " + mebibytes(budgetBytes) +
           " once decoded with their mip levels (--texture-budget sets it, 0 for no limit)";
}

} // namespace

std::string downscaleNote(const std::string& name, TextureSize source, const FittedSize& fitted,
                          const TextureLimits& limits) {
    std::string reasons;
    if (fitted.cappedToSide)
        reasons = sideReason(limits.maxSide);
    if (fitted.halvedForBudget)
        reasons += (reasons.empty() ? "" : ", and ") + budgetReason(limits.budgetBytes);
    return "Texture " + name + " was downscaled from " + sizeText(source) + " to " +
           sizeText(fitted.size) + " pixels: " + reasons + ".";
}

std::string failedDownscaleNote(const std::string& name, TextureSize source,
                                const std::string& failure) {
    return "Texture " + name + " could not be downscaled (" + failure + "); it is packaged at " +
           sizeText(source) + " pixels.";
}

} // namespace usd::writer
