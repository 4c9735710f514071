#include "CommandOptions.h"

#include <charconv>

namespace brightfold::cli {

const char* const usage =
    "usage: brightfold-convert [-r] [-j N] [--quiet] [--verbose] [-o OUT] FILE|FOLDER...\n"
    "Converts .gltf, .glb, .vrm, .usdc and .usd (crate) files to USDZ packages, saved beside\n"
    "each source as NAME.usdz (an existing file there is replaced safely). A folder stands for\n"
    "the .gltf, .glb, .vrm and .usdc files in it.\n"
    "  -o OUT        save at OUT instead (one input file), or inside the folder OUT; the\n"
    "                files of a folder keep their sub-folders there\n"
    "  -r            look into sub-folders of folders too\n"
    "  -j N          convert N files at a time (default: the number of cores)\n"
    "  -q, --quiet   no progress bar\n"
    "  -v, --verbose also the glTF reader's trace lines, on standard error\n"
    "  -h, --help    this text\n"
    "Exit status: 0 when every file converted, 1 when any failed, 2 for a bad command line.\n";

namespace {

std::optional<unsigned> jobCount(const std::string& text) {
    unsigned count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc{} || end != text.data() + text.size() || count == 0)
        return std::nullopt;
    return count;
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
    } else if (argument == "-o" && hasValue) {
        options.output = arguments[++at];
    } else if (argument == "-j" && hasValue) {
        const std::optional<unsigned> count = jobCount(arguments[++at]);
        if (!count)
            return false;
        options.parallelJobs = *count;
    } else {
        return false;
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
