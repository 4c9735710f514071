#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brightfold::manual {

/// Breaks `text` at spaces into lines of at most `width` characters (a longer word stands on a
/// line of its own). Runs of spaces count as one.
std::vector<std::string> wrappedLines(std::string_view text, std::size_t width);

} // namespace brightfold::manual
