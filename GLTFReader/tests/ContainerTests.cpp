#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gtest/gtest.h>

using gltf::testing::binChunkType;
using gltf::testing::blockOf;
using gltf::testing::GLBChunk;
using gltf::testing::GLTFTestDocument;
using gltf::testing::jsonChunkType;
using gltf::testing::thrownBy;
using Kind = GLTFUnarchiveError::Kind;

namespace {

GLTFUnarchiveError containerErrorOf(std::vector<std::uint8_t> bytes) {
    return thrownBy<GLTFUnarchiveError>([&] { GLTFUnarchiver(blockOf(std::move(bytes))); });
}

std::vector<std::uint8_t> asBytes(const gltf::ByteBlock& block) {
    return {block->begin(), block->end()};
}

std::vector<std::uint8_t> binaryOf(const GLTFUnarchiver& unarchiver) {
    const auto bytes = unarchiver.bin()->bytes();
    return {bytes.begin(), bytes.end()};
}

const GLTFTestDocument document(R"("buffers": [{"byteLength": 4}])");

} // namespace

TEST(GLBContainer, SplitsTheJsonAndBinaryChunks) {
    const gltf::ByteBlock glb = GLTFTestDocument(document).withBinaryChunk({1, 2, 3, 4}).glb();
    const GLTFUnarchiver unarchiver(glb);
    EXPECT_EQ(unarchiver.json().buffers->at(0).byteLength, 4);
    EXPECT_EQ(binaryOf(unarchiver), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    // The binary chunk is a range of the file's block, not a copy.
    EXPECT_EQ(unarchiver.bin()->block, glb);

    EXPECT_FALSE(GLTFUnarchiver(document.glb()).bin());
    EXPECT_FALSE(GLTFUnarchiver(document.gltf()).bin());
}

TEST(GLBContainer, RefusesOtherVersionsAndChunkTypes) {
    const std::vector<GLBChunk> chunks = GLTFTestDocument(document).withBinaryChunk({0}).chunks();

    const GLTFUnarchiveError version = containerErrorOf(GLTFTestDocument::glbBytes(chunks, 1));
    EXPECT_EQ(version.kind(), Kind::NotSupported);
    EXPECT_EQ(version.message(), "version 1 is not supported");

    const GLTFUnarchiveError firstChunk =
        containerErrorOf(GLTFTestDocument::glbBytes({{binChunkType, chunks[0].data}}));
    EXPECT_EQ(firstChunk.kind(), Kind::NotSupported);
    EXPECT_EQ(firstChunk.message(), "chunkType 5130562 is not supported");
    EXPECT_STREQ(firstChunk.what(), "NotSupported: chunkType 5130562 is not supported");

    const GLTFUnarchiveError secondChunk =
        containerErrorOf(GLTFTestDocument::glbBytes({chunks[0], {jsonChunkType, {0, 0, 0, 0}}}));
    EXPECT_EQ(secondChunk.message(), "chunkType 1313821514 is not supported");
}

TEST(GLBContainer, TheHeaderLengthDecidesWhetherABinaryChunkExists) {
    const std::vector<GLBChunk> chunks = GLTFTestDocument(document).withBinaryChunk({7}).chunks();
    const auto jsonOnlyLength = static_cast<std::uint32_t>(20 + chunks[0].data.size());
    EXPECT_FALSE(
        GLTFUnarchiver(blockOf(GLTFTestDocument::glbBytes(chunks, 2, jsonOnlyLength))).bin());

    // Chunks after the second are ignored, whatever they hold.
    std::vector<GLBChunk> three = chunks;
    three.push_back({0x12345678, {9, 9, 9, 9}});
    const GLTFUnarchiver unarchiver(blockOf(GLTFTestDocument::glbBytes(three)));
    EXPECT_EQ(binaryOf(unarchiver), (std::vector<std::uint8_t>{7, 0, 0, 0}));
}

TEST(GLBContainer, TextStartingWithTheMagicIsReadAsAContainer) {
    const GLTFUnarchiveError error = containerErrorOf(asBytes(blockOf("glTF is a format")));
    EXPECT_EQ(error.kind(), Kind::NotSupported);
    EXPECT_EQ(error.message(), "version 544434464 is not supported");
}

TEST(GLBContainer, TruncatedContainersAreRefusedBeforeAnyByteIsReadPastTheEnd) {
    const std::vector<std::uint8_t> whole =
        asBytes(GLTFTestDocument(document).withBinaryChunk({1, 2, 3, 4, 5, 6, 7, 8}).glb());
    for (std::size_t length = 4; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> truncated(whole.begin(), whole.begin() + length);
        const GLTFUnarchiveError error = containerErrorOf(truncated);
        EXPECT_EQ(error.kind(), Kind::DataInconsistent) << length;
        EXPECT_EQ(error.message().rfind("GLB: ", 0), 0u) << error.message();
    }
    const GLTFUnarchiveError chunkPastEnd = containerErrorOf(
        std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() - 1));
    EXPECT_EQ(chunkPastEnd.message(), "GLB: chunk 1 of 8 bytes at byte " +
                                          std::to_string(whole.size() - 8) +
                                          " runs past the end of the data (" +
                                          std::to_string(whole.size() - 1) + " bytes)");
}

TEST(GLBContainer, HugeChunkLengthsDoNotWrapAround) {
    const std::vector<std::uint8_t> whole =
        asBytes(GLTFTestDocument(document).withBinaryChunk({1}).glb());
    const std::size_t jsonLengthOffset = 12;
    const std::size_t binLengthOffset = 20 + GLTFTestDocument(document).chunks()[0].data.size();
    for (const std::size_t lengthOffset : {jsonLengthOffset, binLengthOffset}) {
        std::vector<std::uint8_t> bytes = whole;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(lengthOffset), 4, 0xFF);
        EXPECT_EQ(containerErrorOf(bytes).kind(), Kind::DataInconsistent) << lengthOffset;
    }
}
