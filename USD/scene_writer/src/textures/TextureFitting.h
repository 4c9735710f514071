#pragma once

// The sizes a package's textures are written at: each within the largest side allowed, and
// all of them together within the memory the viewer holds them in.

#include <cstdint>
#include <vector>

namespace usd::writer {

struct TextureSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const TextureSize&, const TextureSize&) = default;
};

// The limits of WriteOptions; 0 for none.
struct TextureLimits {
    unsigned maxSide = 0;
    std::uint64_t budgetBytes = 0;
};

// Bytes the viewer holds a texture in: RGBA at 8 bits a channel, and a third more for the
// mip levels below it.
std::uint64_t decodedBytesWithMips(TextureSize size);

// A texture's size in the package, and why it differs from the source's.
struct FittedSize {
    TextureSize size;
    bool cappedToSide = false;    // its longer side was brought down to the largest allowed
    bool halvedForBudget = false; // then halved (once or more) to fit the budget
};

// The longer side of each texture above `maxSide` is brought down to it, keeping the aspect
// (each side rounded, at least 1 pixel); then, while the total of decodedBytesWithMips exceeds
// the budget, the texture needing the most bytes is halved (the earliest of equals first).
std::vector<FittedSize> fitTextures(const std::vector<TextureSize>& sources,
                                    const TextureLimits& limits);

} // namespace usd::writer
