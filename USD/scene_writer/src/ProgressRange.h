#pragma once

#include <USD/scene_writer/SceneWriter.h>

namespace usd::writer {

// Maps the progress of one phase (0…1) into its share [from, to] of the whole write.
class ProgressRange {
  public:
    ProgressRange(const SceneWriteProgress& progress, double from, double to)
        : progress_(progress), from_(from), to_(to) {}

    void report(double phaseFraction) const {
        if (progress_)
            progress_(from_ + (to_ - from_) * phaseFraction);
    }
    // A callback for a phase that reports on its own.
    SceneWriteProgress callback() const {
        return [*this](double fraction) { report(fraction); };
    }

  private:
    SceneWriteProgress progress_;
    double from_;
    double to_;
};

} // namespace usd::writer
