#include "ConvertCommand.h"

#include "CommandLineQueue.h"
#include "ProgressBar.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SaveDestination.h>
#include <algorithm>
#include <optional>
#include <variant>

namespace brightfold::cli {
namespace {

constexpr const char* usage =
    "usage: brightfold-convert [--quiet] [-o OUT] FILE...\n"
    "Converts .gltf, .glb, .vrm, .usdc and .usd (crate) files to USDZ packages, saved beside\n"
    "each source as NAME.usdz (an existing file there is replaced safely).\n"
    "  -o OUT      save at OUT instead (one input), or inside the folder OUT\n"
    "  -q, --quiet no progress bar\n"
    "  -h, --help  this text\n"
    "Exit status: 0 when every file converted, 1 when any failed, 2 for a bad command line.\n";

struct Options {
    std::vector<std::filesystem::path> inputs;
    std::optional<std::filesystem::path> output;
    bool quiet = false;
    bool help = false;
};

// Nothing when the command line is unusable; the reason is written to `errors`.
std::optional<Options> parseOptions(const std::vector<std::string>& arguments,
                                    std::ostream& errors) {
    Options options;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "-o" && at + 1 < arguments.size()) {
            options.output = arguments[++at];
        } else if (argument.starts_with("-") && argument != "-") {
            errors << "brightfold-convert: unknown or incomplete option '" << argument << "'\n";
            return std::nullopt;
        } else {
            options.inputs.emplace_back(argument);
        }
    }
    if (options.help) {
        return options;
    }
    if (options.inputs.empty()) {
        errors << "brightfold-convert: no input file\n";
        return std::nullopt;
    }
    const bool outputIsFolder = options.output && std::filesystem::is_directory(*options.output);
    if (options.output && !outputIsFolder && options.inputs.size() > 1) {
        errors << "brightfold-convert: -o names one file, but " << options.inputs.size()
               << " inputs were given (use a folder)\n";
        return std::nullopt;
    }
    return options;
}

std::filesystem::path destinationFor(const std::filesystem::path& source, const Options& options) {
    const std::filesystem::path besideSource = usdzDestinationFor(source);
    if (!options.output) {
        return besideSource;
    }
    if (std::filesystem::is_directory(*options.output)) {
        return *options.output / besideSource.filename();
    }
    return *options.output;
}

// Messages may span lines on screen; a result is one line here.
std::string onOneLine(const std::string& message) {
    std::string line;
    for (const char character : message) {
        const char shown = character == '\n' ? ' ' : character;
        if (shown != ' ' || (!line.empty() && line.back() != ' ')) {
            line += shown;
        }
    }
    if (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

class Converter {
  public:
    Converter(std::shared_ptr<ConversionServices> services, ConsoleStreams console, bool quiet)
        : console_(console), bar_(console.errors, console.errorsIsTerminal && !quiet),
          workflow_(std::move(services), queue_.poster(),
                    [this](const AppState& state) { showProgress(state); }) {}

    bool convert(const std::filesystem::path& source, const std::filesystem::path& destination) {
        label_ = source.filename().string();
        workflow_.startConversion(source);
        queue_.runUntil([this] { return !std::holds_alternative<Converting>(workflow_.state()); });
        // Late progress from this conversion must not reach the next one.
        workflow_.waitForBackgroundWork();
        queue_.drain();
        if (const auto* preview = std::get_if<Preview>(&workflow_.state())) {
            workflow_.saveConvertedFileAs(preview->tempURL, destination);
        }
        bar_.finish();
        const bool converted = report(source);
        workflow_.resetToIdle();
        return converted;
    }

  private:
    void showProgress(const AppState& state) {
        if (const auto* converting = std::get_if<Converting>(&state)) {
            bar_.show(label_, converting->progress);
        }
    }

    bool report(const std::filesystem::path& source) {
        if (const auto* success = std::get_if<Success>(&workflow_.state())) {
            console_.out << source.string() << " -> " << success->fileURL.string() << '\n';
            for (const std::string& finding : findings()) {
                console_.out << "  note: " << onOneLine(finding) << '\n';
            }
            return true;
        }
        const auto* error = std::get_if<Error>(&workflow_.state());
        console_.out << source.string() << ": failed: "
                     << (error ? onOneLine(error->message) : "conversion did not finish") << '\n';
        return false;
    }

    std::vector<std::string> findings() const {
        const auto& last = workflow_.lastConversion();
        return last ? last->writerFindings : std::vector<std::string>{};
    }

    ConsoleStreams console_;
    ProgressBar bar_;
    std::string label_;
    CommandLineQueue queue_;
    ConversionWorkflow workflow_;
};

} // namespace

int runConvertCommand(const std::vector<std::string>& arguments,
                      std::shared_ptr<ConversionServices> services, ConsoleStreams console) {
    const std::optional<Options> options = parseOptions(arguments, console.errors);
    if (!options) {
        console.errors << usage;
        return 2;
    }
    if (options->help) {
        console.out << usage;
        return 0;
    }
    Converter converter(std::move(services), console, options->quiet);
    bool allConverted = true;
    for (const std::filesystem::path& input : options->inputs) {
        allConverted = converter.convert(input, destinationFor(input, *options)) && allConverted;
    }
    return allConverted ? 0 : 1;
}

} // namespace brightfold::cli
