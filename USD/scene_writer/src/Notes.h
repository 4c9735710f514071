#pragma once

#include <string>
#include <vector>

namespace usd::writer {

// Notes for the user about what a written file lacks or shows differently from the scene.
using Notes = std::vector<std::string>;

} // namespace usd::writer
