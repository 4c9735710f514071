#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace brightfold::thumbnailer {

/// The largest picture drawn: file managers ask for at most 1024 pixels.
inline constexpr int maximumSide = 2048;

/// brightfold-thumbnailer -s SIZE INPUT OUTPUT: draw INPUT in a SIZE × SIZE picture at OUTPUT.
struct ThumbnailRequest {
    int side = 0;
    std::filesystem::path input;
    std::filesystem::path output;
};

struct HelpWanted {};

/// Why the arguments name no picture to draw, for standard error.
struct BadArguments {
    std::string reason;
};

/// Reads the arguments after the program's name.
std::variant<ThumbnailRequest, HelpWanted, BadArguments>
parseThumbnailRequest(const std::vector<std::string>& arguments);

} // namespace brightfold::thumbnailer
