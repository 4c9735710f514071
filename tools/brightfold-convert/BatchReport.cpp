#include "BatchReport.h"

#include <numeric>

namespace brightfold::cli {

BatchReport::BatchReport(std::ostream& out, ProgressBar bar, std::size_t fileCount, unsigned slots)
    : out_(out), bar_(std::move(bar)), fileCount_(fileCount), slotFractions_(slots, 0.0f) {}

void BatchReport::progress(unsigned slot, const std::string& label, float fraction) {
    std::lock_guard lock(mutex_);
    slotFractions_.at(slot) = fraction;
    redrawBar(label);
}

void BatchReport::finished(unsigned slot, const std::vector<std::string>& lines, bool converted,
                           const std::filesystem::path& source) {
    std::lock_guard lock(mutex_);
    slotFractions_.at(slot) = 0.0f;
    ++done_;
    if (!converted)
        failures_.push_back(source);
    bar_.finish();
    for (const std::string& line : lines)
        out_ << line << '\n';
    out_.flush();
}

void BatchReport::redrawBar(const std::string& label) {
    const float running = std::accumulate(slotFractions_.begin(), slotFractions_.end(), 0.0f);
    const float whole = (static_cast<float>(done_) + running) / static_cast<float>(fileCount_);
    const std::string counted =
        fileCount_ > 1 ? std::to_string(done_ + 1) + "/" + std::to_string(fileCount_) + "  " + label
                       : label;
    bar_.show(counted, whole);
}

bool BatchReport::summarize() {
    std::lock_guard lock(mutex_);
    if (fileCount_ < 2)
        return failures_.empty();
    out_ << fileCount_ << " files: " << fileCount_ - failures_.size() << " converted, "
         << failures_.size() << " failed";
    for (std::size_t at = 0; at < failures_.size(); ++at)
        out_ << (at == 0 ? ": " : ", ") << failures_[at].string();
    out_ << '\n';
    return failures_.empty();
}

} // namespace brightfold::cli
