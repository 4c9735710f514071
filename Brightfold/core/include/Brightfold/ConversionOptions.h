#pragma once

#include <cstdint>
#include <string>

namespace brightfold {

// What the user chose about the packages a workflow writes (the command line's flags, the
// app's remembered menu choices). The services hand them to the USDZ writer, whose options
// say what each means; the defaults are its defaults, a package AR Quick Look accepts.
struct ConversionOptions {
    enum class Profile { ar, usd };
    Profile profile = Profile::ar;
    unsigned maxTextureSize = 2048;                              // 0: keep
    std::uint64_t textureBudgetBytes = std::uint64_t{160} << 20; // 0: no limit
    std::uint64_t maxTriangles = 0;                              // 0: keep
    std::string animation;                                       // empty: the default clip
};

} // namespace brightfold
