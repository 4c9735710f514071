#include "CorpusFiles.h"
#include "support/CorpusExpectations.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

using brightfold::testing::corpus;
using brightfold::testing::corpusMissing;
using gltf::testing::failureOf;
using gltf::testing::missingKeyFailure;
using gltf::testing::refusedCorpusDocuments;

TEST(Corpus, EveryDocumentConstructsAnUnarchiverExceptTheRefusedOnes) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::vector<std::string> paths = brightfold::testing::corpusDocumentPaths();
    EXPECT_GE(paths.size(), 60u);
    for (const std::string& path : paths) {
        const std::string failure = failureOf([&] { GLTFUnarchiver(corpus / path); });
        const auto refusal = refusedCorpusDocuments().find(path);
        EXPECT_EQ(failure, refusal == refusedCorpusDocuments().end() ? "" : refusal->second)
            << path;
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
        {"missing_componentType/BoxTextured.gltf",
         missingKeyFailure("accessors[0]", "componentType")},
        {"kmc_missing_values/BoxTextured.gltf",
         missingKeyFailure("materials[0].extensions.KHR_materials_common", "values")},
    };
    for (const auto& [file, description] : brokenFiles) {
        EXPECT_EQ(failureOf([&, &file = file] { GLTFUnarchiver(corpus / "malformed" / file); }),
                  description);
    }
    // These are well-formed up to their buffers, images and node indices, which the loaders
    // check.
    for (const char* file :
         {"short_buffer/AnimatedMorphCube.gltf", "accessor_count_out_of_range/Cameras.gltf",
          "image_base64_with_newline/BoxTextured.gltf", "vrm_bad_node_indices_Godette.vrm"}) {
        EXPECT_EQ(failureOf([&, &file = file] { GLTFUnarchiver(corpus / "malformed" / file); }), "")
            << file;
    }
}
