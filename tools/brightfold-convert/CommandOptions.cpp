#include "CommandOptions.h"

#include <charconv>

namespace brightfold::cli {

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
