#pragma once

#include "ProgressBar.h"

#include <filesystem>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace brightfold::cli {

// What the command prints while several conversions run at once: one progress bar for the
// whole batch, each file's result line (with its notes) as it finishes, and the summary.
// Safe to call from the threads that convert.
class BatchReport {
  public:
    BatchReport(std::ostream& out, ProgressBar bar, std::size_t fileCount, unsigned slots);

    // The file converting in `slot` is `fraction` done.
    void progress(unsigned slot, const std::string& label, float fraction);
    // The file in `slot` is done: its result line and notes are printed.
    void finished(unsigned slot, const std::vector<std::string>& lines, bool converted,
                  const std::filesystem::path& source);
    // Prints "12 files: 11 converted, 1 failed: a.glb" (nothing for a single file); true when
    // every file converted.
    bool summarize();

  private:
    void redrawBar(const std::string& label);

    std::mutex mutex_;
    std::ostream& out_;
    ProgressBar bar_;
    std::size_t fileCount_;
    std::vector<float> slotFractions_;
    std::size_t done_ = 0;
    std::vector<std::filesystem::path> failures_;
};

} // namespace brightfold::cli
