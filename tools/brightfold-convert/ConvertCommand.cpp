#include "ConvertCommand.h"

#include "BatchPlan.h"
#include "BatchReport.h"
#include "CheckCommand.h"
#include "CommandLineQueue.h"
#include "CommandOptions.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/Manual/References.h>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <variant>

namespace brightfold::cli {
namespace {

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

// Converts one file at a time on the calling thread, with a workflow of its own.
class Converter {
  public:
    Converter(std::shared_ptr<ConversionServices> services, const ConversionOptions& options,
              BatchReport& report, unsigned slot)
        : report_(report), slot_(slot),
          workflow_(std::move(services), queue_.poster(),
                    [this](const AppState& state) { showProgress(state); }) {
        workflow_.setConversionOptions(options);
    }

    void convert(const ConversionJob& job) {
        if (!job.refusal.empty()) {
            report_.finished(slot_, {job.source.string() + ": failed: " + job.refusal}, false,
                             job.source);
            return;
        }
        label_ = job.source.filename().string();
        workflow_.startConversion(job.source);
        queue_.runUntil([this] { return !std::holds_alternative<Converting>(workflow_.state()); });
        // Late progress from this conversion must not reach the next one.
        workflow_.waitForBackgroundWork();
        queue_.drain();
        notes_.clear();
        if (const auto* preview = std::get_if<Preview>(&workflow_.state())) {
            notes_ = preview->notes;
            if (job.makesFolder) {
                std::error_code ignored; // a folder that cannot be made fails the save
                std::filesystem::create_directories(job.destination.parent_path(), ignored);
            }
            workflow_.saveConvertedFileAs(preview->tempURL, job.destination);
        }
        reportResult(job.source);
        workflow_.resetToIdle();
    }

  private:
    void showProgress(const AppState& state) {
        if (const auto* converting = std::get_if<Converting>(&state)) {
            report_.progress(slot_, label_, converting->progress);
        }
    }

    void reportResult(const std::filesystem::path& source) {
        if (const auto* success = std::get_if<Success>(&workflow_.state())) {
            std::vector<std::string> lines = {source.string() + " -> " + success->fileURL.string()};
            for (const std::string& note : notes_) {
                lines.push_back("  note: " + onOneLine(note));
            }
            report_.finished(slot_, lines, true, source);
            return;
        }
        const auto* error = std::get_if<Error>(&workflow_.state());
        report_.finished(slot_,
                         {source.string() + ": failed: " +
                          (error ? onOneLine(error->message) : "conversion did not finish")},
                         false, source);
    }

    BatchReport& report_;
    unsigned slot_;
    std::string label_;
    // What the preview told of the last conversion: how the source was read, what the package
    // leaves out or approximates, and what its check found.
    std::vector<std::string> notes_;
    CommandLineQueue queue_;
    ConversionWorkflow workflow_;
};

// Each thread takes the next job until none is left: at most `threads` models are in memory.
void runJobs(const std::vector<ConversionJob>& jobs, unsigned threads,
             const std::shared_ptr<ConversionServices>& services, const ConversionOptions& options,
             BatchReport& report) {
    std::atomic<std::size_t> next = 0;
    const auto work = [&](unsigned slot) {
        Converter converter(services, options, report, slot);
        for (std::size_t at = next++; at < jobs.size(); at = next++) {
            converter.convert(jobs[at]);
        }
    };
    std::vector<std::jthread> helpers;
    for (unsigned slot = 1; slot < threads; ++slot) {
        helpers.emplace_back(work, slot);
    }
    work(0);
}

// With --verbose the reader's trace lines go to the error stream, one whole line at a time.
void routeTraceLines(const ConsoleStreams& console, bool verbose) {
    if (!console.routeTraceLines) {
        return;
    }
    if (!verbose) {
        console.routeTraceLines([](std::string_view) {});
        return;
    }
    auto lock = std::make_shared<std::mutex>();
    console.routeTraceLines([lock, &errors = console.errors](std::string_view line) {
        std::lock_guard guard(*lock);
        errors << line << '\n';
    });
}

} // namespace

int runConvertCommand(const std::vector<std::string>& arguments,
                      std::shared_ptr<ConversionServices> services, ConsoleStreams console) {
    const std::optional<CommandOptions> options =
        parseOptions(arguments, std::max(console.cores, 1u), console.errors);
    if (!options) {
        console.errors << manual::usageText(manual::convertReference());
        return 2;
    }
    if (options->help) {
        console.out << manual::usageText(manual::convertReference());
        return 0;
    }
    if (options->check) {
        return runCheckCommand(options->inputs, *services, options->conversion, console.out);
    }
    routeTraceLines(console, options->verbose);
    const std::vector<ConversionJob> jobs = planJobs(*options);
    const unsigned threads =
        static_cast<unsigned>(std::min<std::size_t>(options->parallelJobs, jobs.size()));
    BatchReport report(console.out,
                       ProgressBar(console.errors, console.errorsIsTerminal && !options->quiet),
                       jobs.size(), threads);
    runJobs(jobs, threads, services, options->conversion, report);
    return report.summarize() ? 0 : 1;
}

} // namespace brightfold::cli
