#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modelimporter {

// What an import left out or approximated, one sentence each, fit to show the user.
using ImportNotes = std::vector<std::string>;

} // namespace modelimporter
