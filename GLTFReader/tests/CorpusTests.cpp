#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <simdjson.h>
#include <string>
#include <vector>

namespace {

const std::filesystem::path corpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";

bool corpusMissing() {
    return !std::filesystem::exists(corpus / "manifest.json");
}

// The glTF, GLB and VRM documents the manifest lists, as paths below the corpus folder.
std::vector<std::string> documentPaths() {
    simdjson::dom::parser parser;
    const simdjson::padded_string manifest =
        simdjson::padded_string::load((corpus / "manifest.json").string());
    std::vector<std::string> paths;
    for (const simdjson::dom::element model : parser.parse(manifest)["models"].get_array()) {
        const std::string_view kind = model["kind"].get_string();
        if (kind == "gltf" || kind == "glb" || kind == "vrm") {
            paths.emplace_back(model["path"].get_string().value());
        }
    }
    return paths;
}

std::string unknownExtension(const std::string& name) {
    return "NotSupported: init: required extension " + name + " is not supported";
}

std::string missingKey(const std::string& path, const std::string& key) {
    return "keyNotFound at " + path + "." + key + ": no value for the required key \"" + key + "\"";
}

// Documents the reader refuses, with the failure each one must report. The first three need an
// extension the reader cannot apply; the avatars leave out members their VRM records require.
// The application hands all of them to its importer instead.
const std::map<std::string, std::string> refusedDocuments = {
    {"gltf/blender-09_texture_transform/09_texture_transform.gltf",
     unknownExtension("KHR_texture_transform")},
    {"gltf/BoxMeshopt/BoxMeshopt.gltf", unknownExtension("KHR_mesh_quantization")},
    {"glb/DenseSphere.glb", unknownExtension("KHR_mesh_quantization")},
    {"vrm/Godette_vrm_v4.vrm", missingKey("extensions.VRM.materialProperties[2]", "renderQueue")},
    {"vrm/simple_morph.vrm", missingKey("extensions.VRM.materialProperties[0]", "renderQueue")},
    {"vrm/vrm0_frontbake.vrm",
     missingKey("extensions.VRM.humanoid.humanBones[0]", "useDefaultValues")},
};

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(Corpus, EveryDocumentConstructsAnUnarchiverExceptTheRefusedOnes) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::vector<std::string> paths = documentPaths();
    EXPECT_GE(paths.size(), 60u);
    for (const std::string& path : paths) {
        const std::string failure = failureOf([&] { GLTFUnarchiver(corpus / path); });
        const auto refusal = refusedDocuments.find(path);
        EXPECT_EQ(failure, refusal == refusedDocuments.end() ? "" : refusal->second) << path;
    }
}

TEST(Corpus, BrokenContainersAndDocumentsFailWithTheRightKind) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::pair<const char*, std::string> brokenFiles[] = {
        {"truncated_BoxTextured.glb",
         "DataInconsistent: GLB: chunk 1 of 3276 bytes at byte 1420 runs past the end of the "
         "data (2348 bytes)"},
        {"chunk0_is_BIN_BoxInterleaved.glb", "NotSupported: chunkType 5130562 is not supported"},
        {"version1_chr_knight.glb", "NotSupported: version 1 is not supported"},
        {"missing_componentType/BoxTextured.gltf", missingKey("accessors[0]", "componentType")},
        {"kmc_missing_values/BoxTextured.gltf",
         missingKey("materials[0].extensions.KHR_materials_common", "values")},
        {"vrm_bad_node_indices_Godette.vrm",
         missingKey("extensions.VRM.materialProperties[2]", "renderQueue")},
    };
    for (const auto& [file, description] : brokenFiles) {
        EXPECT_EQ(failureOf([&] { GLTFUnarchiver(corpus / "malformed" / file); }), description);
    }
    // These are well-formed up to their buffers, images and node indices, which the loaders
    // check.
    for (const char* file :
         {"short_buffer/AnimatedMorphCube.gltf", "accessor_count_out_of_range/Cameras.gltf",
          "image_base64_with_newline/BoxTextured.gltf"}) {
        EXPECT_EQ(failureOf([&] { GLTFUnarchiver(corpus / "malformed" / file); }), "") << file;
    }
}
