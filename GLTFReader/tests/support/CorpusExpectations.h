#pragma once

// What the glTF reader must report for the corpus documents it refuses.

#include <map>
#include <string>

namespace gltf::testing {

// The failure of a record that leaves out a member its decoder requires.
inline std::string missingKeyFailure(const std::string& path, const std::string& key) {
    return "keyNotFound at " + path + "." + key + ": no value for the required key \"" + key + "\"";
}

// Documents the reader refuses, with the failure each one must report: each needs an extension
// the reader cannot apply. The application hands them to its importer instead.
inline const std::map<std::string, std::string>& refusedCorpusDocuments() {
    static const std::map<std::string, std::string> refusals = {};
    return refusals;
}

} // namespace gltf::testing
