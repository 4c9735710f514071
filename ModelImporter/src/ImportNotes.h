#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modelimporter {

// What an import left out or approximated, one sentence each, fit to show the user.
using ImportNotes = std::vector<std::string>;

// The scene entry that keeps them, an array of texts.
inline constexpr std::string_view importNotesKey = "importNotes";

} // namespace modelimporter
