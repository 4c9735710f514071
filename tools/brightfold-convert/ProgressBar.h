#pragma once

#include <ostream>
#include <string>

namespace brightfold::cli {

// One line on a terminal, redrawn in place: "[#######-------------]  35%  model.glb".
// Silent when disabled (output is not a terminal, or --quiet).
class ProgressBar {
  public:
    ProgressBar(std::ostream& terminal, bool enabled) : terminal_(terminal), enabled_(enabled) {}

    void show(const std::string& label, float fraction);
    // Clears the line so the result can be printed in its place.
    void finish();

  private:
    std::ostream& terminal_;
    bool enabled_;
    bool drawn_ = false;
};

} // namespace brightfold::cli
