#pragma once

// The glTF and GLB models of the corpus beside the repository that hold static content only
// (no skinning, morph targets or animation, which the writer leaves out), as its manifest says.

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

// `text` with everything but letters and digits turned into '_'.
std::string testNameFrom(std::string text);

} // namespace usd::test
