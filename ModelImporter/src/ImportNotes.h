#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scene {
class Scene;
}

namespace modelimporter {

// What an import left out or approximated, one sentence each, fit to show the user.
using ImportNotes = std::vector<std::string>;

// The scene entry that keeps them, an array of texts.
inline constexpr std::string_view importNotesKey = "importNotes";

// Stores the notes under importNotesKey, each once; no entry when there are none.
void keepImportNotes(scene::Scene& scene, const ImportNotes& notes);

} // namespace modelimporter
