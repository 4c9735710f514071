#include "ImportNotes.h"

#include <SceneGraph/Scene.h>
#include <algorithm>

namespace modelimporter {

void keepImportNotes(scene::Scene& scene, const ImportNotes& notes) {
    // Each note once: a mesh shown by several nodes is converted once per node.
    scene::ValueArray values;
    for (const std::string& note : notes) {
        if (std::find(values.begin(), values.end(), scene::Value(note)) == values.end()) {
            values.emplace_back(note);
        }
    }
    if (!values.empty()) {
        scene.setValue(std::string(importNotesKey), std::move(values));
    }
}

} // namespace modelimporter
