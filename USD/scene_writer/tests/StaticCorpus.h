#pragma once

// The glTF, GLB and VRM models of the corpus beside the repository, chosen by what their
// manifest says they hold.

#include <SceneGraph/Scene.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace usd::test {

struct CorpusModel {
    std::string name; // fit for a test name: letters, digits and '_'
    std::filesystem::path file;
};

// In manifest order; empty when ../shared is missing.
std::vector<CorpusModel> staticCorpusModels();

// The models with skins, morph targets or animations, and the avatars, likewise.
std::vector<CorpusModel> movingCorpusModels();

// `text` with everything but letters and digits turned into '_'.
std::string testNameFrom(std::string text);

} // namespace usd::test
