#include "CommandOptions.h"

#include <charconv>

namespace brightfold::cli {

const char* const usage =
    "usage: brightfold-convert [-r] [-j N] [--quiet] [--verbose] [-o OUT] [--profile ar|usd]\n"
    "         [--max-texture-size N|keep] [--texture-budget MiB] [--max-triangles N]\n"
    "         [--animation NAME|INDEX] FILE|FOLDER...\n"
    "       brightfold-convert --check [--texture-budget MiB] FILE...\n"
    "Converts .gltf, .glb, .vrm, .usdc and .usd (crate) files to USDZ packages, saved beside\n"
    "each source as NAME.usdz (an existing file there is replaced safely); a .usdz package is\n"
    "read and written again for AR Quick Look as NAME-ar.usdz. A folder stands for the .gltf,\n"
    ".glb, .vrm, .usdc and .usdz files in it.\n"
    "  -o OUT        save at OUT instead (one input file), or inside the folder OUT; the\n"
    "                files of a folder keep their sub-folders there\n"
    "  -r            look into sub-folders of folders too\n"
    "  -j N          convert N files at a time (default: the number of cores)\n"
    "  -q, --quiet   no progress bar\n"
    "  -v, --verbose also the glTF reader's trace lines, on standard error\n"
    "  --profile ar  (the default) a package AR Quick Look accepts: lights, curves and other\n"
    "                prims it does not show are left out, each with a note\n"
    "  --profile usd everything the model holds, for USD tools\n"
    "  --max-texture-size N|keep\n"
    "                textures longer than N pixels on a side are downscaled (default 2048)\n"
    "  --texture-budget MiB\n"
    "                all textures, decompressed with their mip levels, fitted into MiB by\n"
    "                halving the largest first (default 160; 0 for no limit)\n"
    "  --max-triangles N\n"
    "                meshes simplified to at most N triangles in all (default: kept)\n"
    "  --animation NAME|INDEX\n"
    "                the animation clip to keep, by name or by its index in the file\n"
    "  --check       check each .usdz (or .usdc) against AR Quick Look's rules and budgets\n"
    "                instead: one line per problem, then a verdict line per file\n"
    "  -h, --help    this text\n"
    "Exit status: 0 when every file converted (or passed the check), 1 when any failed, 2 for a\n"
    "bad command line.\n";

namespace {

template <typename Number> std::optional<Number> wholeNumber(const std::string& text) {
    Number number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

std::optional<unsigned> jobCount(const std::string& text) {
    const std::optional<unsigned> count = wholeNumber<unsigned>(text);
    return count && *count > 0 ? count : std::nullopt;
}

bool takeProfile(ConversionOptions& options, const std::string& text) {
    if (text != "ar" && text != "usd")
        return false;
    options.profile =
        text == "ar" ? ConversionOptions::Profile::ar : ConversionOptions::Profile::usd;
    return true;
}

bool takeTextureSize(ConversionOptions& options, const std::string& text) {
    const std::optional<unsigned> size = text == "keep" ? 0u : wholeNumber<unsigned>(text);
    if (!size || (*size == 0 && text != "keep"))
        return false;
    options.maxTextureSize = *size;
    return true;
}

// MiB on the command line, bytes for the writer; a budget too large for bytes is no limit.
bool takeTextureBudget(ConversionOptions& options, const std::string& text) {
    const std::optional<std::uint64_t> mebibytes = wholeNumber<std::uint64_t>(text);
    if (!mebibytes)
        return false;
    options.textureBudgetBytes = *mebibytes > (UINT64_MAX >> 20) ? 0 : *mebibytes << 20;
    return true;
}

bool takeTriangleLimit(ConversionOptions& options, const std::string& text) {
    const std::optional<std::uint64_t> triangles = wholeNumber<std::uint64_t>(text);
    if (!triangles || *triangles == 0)
        return false;
    options.maxTriangles = *triangles;
    return true;
}

// The options that shape the package, each with its value.
bool takeConversionOption(ConversionOptions& options, const std::string& argument,
                          const std::string& value) {
    if (argument == "--profile")
        return takeProfile(options, value);
    if (argument == "--max-texture-size")
        return takeTextureSize(options, value);
    if (argument == "--texture-budget")
        return takeTextureBudget(options, value);
    if (argument == "--max-triangles")
        return takeTriangleLimit(options, value);
    if (argument == "--animation" && !value.empty()) {
        options.animation = value;
        return true;
    }
    return false;
}

bool takeOption(CommandOptions& options, const std::vector<std::string>& arguments,
                std::size_t& at) {
    const std::string& argument = arguments[at];
    const bool hasValue = at + 1 < arguments.size();
    if (argument == "-h" || argument == "--help") {
        options.help = true;
    } else if (argument == "-q" || argument == "--quiet") {
        options.quiet = true;
    } else if (argument == "-v" || argument == "--verbose") {
        options.verbose = true;
    } else if (argument == "-r") {
        options.recursive = true;
    } else if (argument == "--check") {
        options.check = true;
    } else if (argument == "-o" && hasValue) {
        options.output = arguments[++at];
    } else if (argument == "-j" && hasValue) {
        const std::optional<unsigned> count = jobCount(arguments[++at]);
        if (!count)
            return false;
        options.parallelJobs = *count;
    } else {
        return hasValue && takeConversionOption(options.conversion, argument, arguments[++at]);
    }
    return true;
}

bool outputIsFolder(const CommandOptions& options) {
    return options.output && std::filesystem::is_directory(*options.output);
}

} // namespace

std::optional<CommandOptions> parseOptions(const std::vector<std::string>& arguments,
                                           unsigned defaultJobs, std::ostream& errors) {
    CommandOptions options;
    options.parallelJobs = defaultJobs;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (!argument.starts_with("-") || argument == "-") {
            options.inputs.emplace_back(argument);
        } else if (!takeOption(options, arguments, at)) {
            errors << "brightfold-convert: unknown or incomplete option '" << argument << "'\n";
            return std::nullopt;
        }
    }
    if (options.help)
        return options;
    if (options.inputs.empty()) {
        errors << "brightfold-convert: no input file\n";
        return std::nullopt;
    }
    // With one folder as input, -o names the folder to mirror it into (made if missing).
    if (options.output && !outputIsFolder(options) && options.inputs.size() > 1) {
        errors << "brightfold-convert: -o names one file, but " << options.inputs.size()
               << " inputs were given (use a folder)\n";
        return std::nullopt;
    }
    return options;
}

} // namespace brightfold::cli
