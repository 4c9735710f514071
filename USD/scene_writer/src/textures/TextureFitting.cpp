#include "textures/TextureFitting.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace usd::writer {
namespace {

int scaledSide(int side, double scale) {
    return std::max(1, static_cast<int>(std::lround(side * scale)));
}

TextureSize cappedSize(TextureSize size, unsigned maxSide) {
    const int longer = std::max(size.width, size.height);
    if (maxSide == 0 || longer <= static_cast<int>(maxSide))
        return size;
    const double scale = static_cast<double>(maxSide) / longer;
    return {scaledSide(size.width, scale), scaledSide(size.height, scale)};
}

TextureSize halved(TextureSize size) {
    return {std::max(1, (size.width + 1) / 2), std::max(1, (size.height + 1) / 2)};
}

// Halves the largest texture until the total fits or nothing can shrink any more.
void fitIntoBudget(std::vector<FittedSize>& fitted, std::uint64_t budgetBytes) {
    std::uint64_t total = 0;
    // Largest first; of equal ones the earliest, so the result does not depend on the heap.
    using Entry = std::pair<std::uint64_t, std::size_t>;
    const auto smaller = [](const Entry& a, const Entry& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    };
    std::priority_queue<Entry, std::vector<Entry>, decltype(smaller)> largest(smaller);
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        const std::uint64_t bytes = decodedBytesWithMips(fitted[i].size);
        total += bytes;
        largest.push({bytes, i});
    }
    while (total > budgetBytes && !largest.empty()) {
        const auto [bytes, i] = largest.top();
        largest.pop();
        const TextureSize smallerSize = halved(fitted[i].size);
        if (smallerSize == fitted[i].size)
            continue; // 1×1 already
        fitted[i] = {smallerSize, fitted[i].cappedToSide, true};
        const std::uint64_t now = decodedBytesWithMips(smallerSize);
        total = total - bytes + now;
        largest.push({now, i});
    }
}

} // namespace

std::uint64_t decodedBytesWithMips(TextureSize size) {
    const std::uint64_t base = std::uint64_t{4} * static_cast<std::uint64_t>(size.width) *
                               static_cast<std::uint64_t>(size.height);
    return base + base / 3;
}

std::vector<FittedSize> fitTextures(const std::vector<TextureSize>& sources,
                                    const TextureLimits& limits) {
    std::vector<FittedSize> fitted;
    for (const TextureSize& source : sources) {
        const TextureSize capped = cappedSize(source, limits.maxSide);
        fitted.push_back({capped, !(capped == source), false});
    }
    if (limits.budgetBytes > 0)
        fitIntoBudget(fitted, limits.budgetBytes);
    return fitted;
}

} // namespace usd::writer
