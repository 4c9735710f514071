#include "ThumbnailRequest.h"

#include <charconv>
#include <optional>

namespace brightfold::thumbnailer {
namespace {

std::optional<int> sideOf(const std::string& text) {
    int side = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    if (error != std::errc{} || end != text.data() + text.size() || side < 1 ||
        side > maximumSide) {
        return std::nullopt;
    }
    return side;
}

} // namespace

std::variant<ThumbnailRequest, HelpWanted, BadArguments>
parseThumbnailRequest(const std::vector<std::string>& arguments) {
    ThumbnailRequest request;
    std::vector<std::filesystem::path> files;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "-h" || argument == "--help") {
            return HelpWanted{};
        }
        if (argument == "-s" && at + 1 < arguments.size()) {
            const std::optional<int> side = sideOf(arguments[++at]);
            if (!side) {
                return BadArguments{"the size must be a whole number of pixels from 1 to " +
                                    std::to_string(maximumSide) + ", not '" + arguments[at] + "'"};
            }
            request.side = *side;
        } else if (argument.starts_with("-") && argument != "-") {
            return BadArguments{"unknown or incomplete option '" + argument + "'"};
        } else {
            files.emplace_back(argument);
        }
    }
    if (request.side == 0) {
        return BadArguments{"no size given (-s SIZE)"};
    }
    if (files.size() != 2) {
        return BadArguments{"expected one input file and one output file, got " +
                            std::to_string(files.size()) + " files"};
    }
    request.input = files[0];
    request.output = files[1];
    return request;
}

} // namespace brightfold::thumbnailer
