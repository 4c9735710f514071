#pragma once

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/Value.h>

namespace usd::crate {

// Roughly how many bytes a value takes in a file: what progress is measured in.
std::uint64_t estimatedBytes(const Value& value);

// Turns work done into progress calls: one for every large piece of work, and
// otherwise one whenever another hundredth is done, so a progress bar moves
// smoothly without being flooded.
class ProgressReporter {
  public:
    ProgressReporter(const WriteProgress& callback, std::uint64_t totalWork)
        : callback_(callback), totalWork_(std::max<std::uint64_t>(totalWork, 1)) {}

    void advance(std::uint64_t work);
    void finish();

  private:
    const WriteProgress& callback_;
    std::uint64_t totalWork_;
    std::uint64_t done_ = 0;
    double lastReported_ = 0;
};

} // namespace usd::crate
