#include "support/GLTFTestDocument.h"
#include "support/GeometryInspection.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Transform.h>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>

using gltf::testing::CapturedConsoleLines;
using gltf::testing::failureOf;
using gltf::testing::GLTFTestDocument;
using gltf::testing::indicesOf;
using gltf::testing::numbersOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using testing::ElementsAre;
using testing::StartsWith;

namespace {

// Twelve floats: four 3-vectors, (1, 2, 3) … (10, 11, 12).
TestBytes twelveFloats() {
    TestBytes bytes;
    bytes.floats({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    return bytes;
}

} // namespace

TEST(Buffers, DataUrisAreDecodedOnceAndMustHoldTheDeclaredLength) {
    GLTFUnarchiver unarchiver = unarchiverOf(R"("buffers": [
        {"uri": "data:application/octet-stream;base64,AAAA", "byteLength": 3},
        {"uri": "data:;base64,AAAA", "byteLength": 4},
        {"uri": "data:;base64,A A=", "byteLength": 1}])");
    const gltf::ByteSlice buffer = unarchiver.loadBuffer(0);
    EXPECT_THAT(std::vector<std::uint8_t>(buffer.bytes().begin(), buffer.bytes().end()),
                ElementsAre(0, 0, 0));
    EXPECT_EQ(unarchiver.loadBuffer(0).block, buffer.block);
    EXPECT_EQ(failureOf([&] { unarchiver.loadBuffer(1); }),
              "DataInconsistent: loadBuffer: buffer.count < byteLength: 3 < 4");
    EXPECT_EQ(failureOf([&] { unarchiver.loadBuffer(2); }), "loadBufferView: buffer 2 load error");
    EXPECT_EQ(failureOf([&] { unarchiver.loadBuffer(3); }),
              "DataInconsistent: loadBuffer: out of index: 3 < 3");
    EXPECT_EQ(failureOf([&] { unarchiverOf("").loadBuffer(0); }),
              "DataInconsistent: loadBuffer: out of index: 0 < 0");
}

TEST(Buffers, EveryBufferWithoutUriIsTheWholeBinaryChunk) {
    GLTFUnarchiver glb(GLTFTestDocument(R"("buffers": [{"byteLength": 4}, {"byteLength": 8}])")
                           .withBinaryChunk(std::vector<std::uint8_t>(8, 7))
                           .glb());
    EXPECT_EQ(glb.loadBuffer(0).block, glb.bin()->block);
    EXPECT_EQ(glb.loadBuffer(1).block, glb.bin()->block);
    EXPECT_EQ(glb.loadBuffer(0).size, 8u);

    EXPECT_EQ(failureOf([] { unarchiverOf(R"("buffers": [{"byteLength": 4}])").loadBuffer(0); }),
              "loadBufferView: buffer 0 load error");
}

TEST(BufferViews, AreRangesOfTheBufferBytesNotCopies) {
    GLTFUnarchiver unarchiver = unarchiverOf(twelveFloats(), R"("bufferViews": [
        {"buffer": 0, "byteOffset": 4, "byteLength": 8}, {"buffer": 0, "byteLength": 48}])");
    const gltf::ByteSlice buffer = unarchiver.loadBuffer(0);
    const gltf::ByteSlice view = unarchiver.loadBufferView(0);
    EXPECT_EQ(view.block, buffer.block);
    EXPECT_EQ(view.offset, buffer.offset + 4);
    EXPECT_EQ(view.size, 8u);
    EXPECT_EQ(unarchiver.loadBufferView(1).offset, buffer.offset);
    EXPECT_EQ(unarchiver.loadBufferView(0).offset, view.offset);
}

TEST(BufferViews, RangesOutsideTheirBufferAreRefused) {
    for (const char* range : {R"("byteOffset": 44, "byteLength": 8)", R"("byteLength": 49)",
                              R"("byteOffset": 9223372036854775807, "byteLength": 16)",
                              R"("byteOffset": -4, "byteLength": 4)"}) {
        GLTFUnarchiver unarchiver = unarchiverOf(
            twelveFloats(), R"("bufferViews": [{"buffer": 0, )" + std::string(range) + "}]");
        EXPECT_THAT(failureOf([&] { unarchiver.loadBufferView(0); }),
                    StartsWith("DataInconsistent: loadBufferView: bufferView 0 (byteOffset "))
            << range;
    }
    GLTFUnarchiver withTarget = unarchiverOf(
        twelveFloats(), R"("bufferViews": [{"buffer": 0, "byteLength": 4, "target": 34962}])");
    EXPECT_EQ(failureOf([&] { withTarget.loadBufferView(0, 34963); }),
              "DataInconsistent: loadBufferView: index 0: target inconsistent");
    EXPECT_EQ(failureOf([&] { withTarget.loadBufferView(-1); }),
              "DataInconsistent: loadBufferView: out of index: -1 < 1");
}

TEST(ElementWalk, VisitsEachElementAndCountsTheWholeStrideOfTheLast) {
    GLTFUnarchiver unarchiver = unarchiverOf(twelveFloats(), R"("bufferViews": [
        {"buffer": 0, "byteLength": 48, "byteStride": 16},
        {"buffer": 0, "byteLength": 44, "byteStride": 16},
        {"buffer": 0, "byteLength": 40}])");
    std::vector<float> firsts;
    unarchiver.iterateBufferView(0, 0, 12, 3, [&](const std::uint8_t* element) {
        float number = 0;
        std::memcpy(&number, element, sizeof number);
        firsts.push_back(number);
    });
    EXPECT_THAT(firsts, ElementsAre(1, 5, 9));

    const auto ignore = [](const std::uint8_t*) {};
    EXPECT_EQ(failureOf([&] { unarchiver.iterateBufferView(1, 0, 12, 3, ignore); }),
              "DataInconsistent: iterateBufferView: offset (0) + byteStride (16) * count (3) "
              "shoule be equal or less than byteLength (44))");
    EXPECT_EQ(failureOf([&] { unarchiver.iterateBufferView(2, 0, 12, 4, ignore); }),
              "DataInconsistent: iterateBufferView: offset (0) + byteStride (12) * count (4) "
              "shoule be equal or less than byteLength (40))");
    EXPECT_THAT(failureOf([&] {
                    unarchiver.iterateBufferView(2, 0, 12, std::numeric_limits<std::size_t>::max(),
                                                 ignore);
                }),
                StartsWith("DataInconsistent: iterateBufferView: offset (0)"));
    EXPECT_EQ(failureOf([&] { unarchiver.iterateBufferView(9, 0, 12, 0, ignore); }), "");
}

TEST(VertexAccessor, DescribesTheViewBytesWithoutCopyingThem) {
    GLTFUnarchiver unarchiver = unarchiverOf(twelveFloats(), R"(
        "bufferViews": [{"buffer": 0, "byteOffset": 12, "byteLength": 36, "byteStride": 12}],
        "accessors": [{"bufferView": 0, "byteOffset": 12, "componentType": 5126, "count": 2,
                       "type": "VEC3"}])");
    const auto source = unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::vertex);
    const gltf::ByteSlice view = unarchiver.loadBufferView(0);
    EXPECT_EQ(source->data(), view.block);
    EXPECT_EQ(source->dataOffset(), view.offset + 12);
    EXPECT_EQ(source->dataStride(), 12u);
    EXPECT_EQ(source->vectorCount(), 2u);
    EXPECT_EQ(source->componentsPerVector(), 3);
    EXPECT_EQ(source->bytesPerComponent(), 4);
    EXPECT_TRUE(source->usesFloatComponents());
    EXPECT_EQ(source->vector(1), glm::dvec4(10, 11, 12, 0));

    // One object per accessor, whatever a later caller asks for.
    EXPECT_EQ(unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::normal), source);
    EXPECT_EQ(source->semantic(), scene::GeometrySemantic::vertex);
    EXPECT_EQ(failureOf([&] { unarchiver.loadIndexAccessor(0, 4); }),
              "DataInconsistent: loadIndexAccessor: the accessor 0 is not SCNGeometryElement");
}

TEST(VertexAccessor, RefusesLayoutsThatDoNotFitTheirData) {
    const std::pair<const char*, std::string> cases[] = {
        {R"("bufferView": 1, "componentType": 5126, "count": 2, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: dataStride is too small: 8 < 12"},
        {R"("bufferView": 0, "componentType": 5124, "count": 2, "type": "VEC3")",
         "NotSupported: loadVertexAccessor: user defined accessor.componentType is not "
         "supported"},
        {R"("bufferView": 0, "componentType": 5126, "count": 2, "type": "VEC5")",
         "NotSupported: loadVertexAccessor: user defined accessor.type is not supported"},
        {R"("bufferView": 0, "componentType": 5126, "count": 5, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: the accessor 0 reads beyond its data"},
        {R"("bufferView": 0, "byteOffset": 40, "componentType": 5126, "count": 1, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: the accessor 0 reads beyond its data"},
        {R"("bufferView": 0, "componentType": 5126, "count": -1, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: the accessor 0 has a negative count: -1"},
        {R"("componentType": 5126, "count": 4611686018427387904, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: the accessor 0 is too large"},
        {R"("componentType": 5126, "count": 100000000, "type": "VEC3")",
         "DataInconsistent: loadVertexAccessor: the accessor 0 is too large"},
    };
    for (const auto& [accessor, failure] : cases) {
        GLTFUnarchiver unarchiver = unarchiverOf(twelveFloats(), R"(
            "bufferViews": [{"buffer": 0, "byteLength": 48},
                            {"buffer": 0, "byteLength": 48, "byteStride": 8}],
            "accessors": [{)" + std::string(accessor) + "}]");
        EXPECT_THAT(
            failureOf([&] { unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::vertex); }),
            StartsWith(failure))
            << accessor;
    }
}

// Each accessor below the limit, together far above it: a few bytes of JSON asking for
// gigabytes of zeros are refused at the accessor that crosses the limit, before it is made.
TEST(VertexAccessor, ZerosOfManyAccessorsShareOneAllowance) {
    std::string accessors;
    for (int i = 0; i < 24; ++i)
        accessors += std::string(i ? "," : "") +
                     R"({"componentType": 5126, "count": 50000000, "type": "VEC3"})";
    GLTFUnarchiver unarchiver = unarchiverOf(R"("accessors": [)" + accessors + "]");
    EXPECT_EQ(failureOf([&] { unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::vertex); }),
              "");
    EXPECT_THAT(
        failureOf([&] { unarchiver.loadVertexAccessor(1, scene::GeometrySemantic::vertex); }),
        StartsWith("DataInconsistent: loadVertexAccessor: the accessor 1 is too large: accessors "
                   "without bufferView and sparse accessors may hold 1073741824 bytes in all"));
}

TEST(VertexAccessor, WithoutBufferViewReadsAsZeros) {
    GLTFUnarchiver unarchiver =
        unarchiverOf(R"("accessors": [{"componentType": 5126, "count": 2, "type": "VEC2"}])");
    const auto source = unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::texcoord);
    EXPECT_EQ(source->vectorCount(), 2u);
    EXPECT_EQ(source->vector(1), glm::dvec4(0));
}

TEST(IndexAccessor, RefusalsComeInTheOrderOfTheChecks) {
    const std::pair<std::string, std::string> cases[] = {
        {R"("componentType": 5126, "count": 3, "type": "VEC2")",
         "DataInconsistent: loadIndexAccessor: cannot use Float for index accessor"},
        {R"("componentType": 5123, "count": 3, "type": "VEC2")",
         "DataInconsistent: loadIndexAccessor: accessor type must be SCALAR"},
        {R"("componentType": 5124, "count": 3, "type": "SCALAR")",
         "NotSupported: loadIndexAccessor: user defined accessor.componentType is not supported"},
    };
    for (const auto& [accessor, failure] : cases) {
        GLTFUnarchiver unarchiver = unarchiverOf(R"("accessors": [{)" + accessor + "}]");
        EXPECT_EQ(failureOf([&] { unarchiver.loadIndexAccessor(0, 4); }), failure) << accessor;
    }
    GLTFUnarchiver fan =
        unarchiverOf(R"("accessors": [{"componentType": 5126, "count": 3, "type": "VEC2"}])");
    EXPECT_EQ(failureOf([&] { fan.loadIndexAccessor(0, 6); }),
              "NotSupported: loadIndexAccessor: primitve mode 6 is not supported");
}

TEST(IndexAccessor, CountsPrimitivesByMode) {
    TestBytes bytes;
    bytes.append<std::uint16_t>({0, 1, 2, 3, 4, 5, 6, 7});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 16}],
        "accessors": [{"bufferView": 0, "componentType": 5123, "count": 7, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5123, "count": 5, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5123, "count": 1, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5123, "count": 7, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5123, "count": 7, "type": "SCALAR"}])");
    EXPECT_EQ(unarchiver.loadIndexAccessor(0, 4)->primitiveCount(), 2u);
    EXPECT_EQ(unarchiver.loadIndexAccessor(1, 5)->primitiveCount(), 3u);
    EXPECT_EQ(unarchiver.loadIndexAccessor(2, 5)->primitiveCount(), 0u);
    EXPECT_EQ(unarchiver.loadIndexAccessor(3, 1)->primitiveCount(), 3u);
    EXPECT_EQ(unarchiver.loadIndexAccessor(4, 0)->primitiveCount(), 7u);
}

TEST(IndexAccessor, PackedIndicesShareTheViewAndInterleavedOnesAreRepacked) {
    TestBytes bytes;
    bytes.append<std::uint16_t>({5, 6, 7, 8, 1, 0, 2, 0, 3, 0});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 8},
                        {"buffer": 0, "byteOffset": 8, "byteLength": 12, "byteStride": 4},
                        {"buffer": 0, "byteOffset": 8, "byteLength": 8, "byteStride": 4}],
        "accessors": [{"bufferView": 0, "byteOffset": 2, "componentType": 5123, "count": 3,
                       "type": "SCALAR"},
                      {"bufferView": 1, "componentType": 5123, "count": 3, "type": "SCALAR"},
                      {"bufferView": 2, "componentType": 5123, "count": 3, "type": "SCALAR"}])");
    const auto packed = unarchiver.loadIndexAccessor(0, 4);
    EXPECT_EQ(packed->data(), unarchiver.loadBufferView(0).block);
    EXPECT_EQ(packed->dataOffset(), unarchiver.loadBufferView(0).offset + 2);
    EXPECT_THAT(indicesOf(*packed), ElementsAre(6, 7, 8));

    const auto repacked = unarchiver.loadIndexAccessor(1, 4);
    EXPECT_EQ(repacked->data()->size(), 6u);
    EXPECT_EQ(repacked->bytesPerIndex(), 2);
    EXPECT_THAT(indicesOf(*repacked), ElementsAre(1, 2, 3));

    EXPECT_THAT(failureOf([&] { unarchiver.loadIndexAccessor(2, 4); }),
                StartsWith("DataInconsistent: loadIndexAccessor: the accessor 2 reads beyond"));
}

TEST(KeyTimeAccessor, GivesFractionsOfTheLastTimeAndTracesTheTimes) {
    TestBytes bytes;
    bytes.floats({0, 0.5f, 1, 2});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 16}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 4, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5126, "count": 0, "type": "SCALAR"}])");
    const CapturedConsoleLines console;
    const auto [keyTimes, duration] = unarchiver.loadKeyTimeAccessor(0);
    EXPECT_THAT(numbersOf(keyTimes), ElementsAre(0, 0.25, 0.5, 1));
    EXPECT_EQ(duration, 2);
    EXPECT_THAT(console.lines(), ElementsAre("duration: 2.0", "dur val: 0.0", "dur val: 0.5",
                                             "dur val: 1.0", "dur val: 2.0"));

    EXPECT_EQ(unarchiver.loadKeyTimeAccessor(0).second, 2);
    EXPECT_EQ(console.lines().size(), 5u);

    const auto [noTimes, noDuration] = unarchiver.loadKeyTimeAccessor(1);
    EXPECT_TRUE(noTimes.empty());
    EXPECT_EQ(noDuration, 0);
}

TEST(KeyTimeAccessor, RefusesWhatCannotBeKeyTimes) {
    TestBytes bytes;
    bytes.floats({0, 1});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 8}],
        "accessors": [{"bufferView": 0, "componentType": 5123, "count": 2, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5126, "count": 1, "type": "VEC2"},
                      {"bufferView": 0, "componentType": 5126, "count": 2, "type": "SCALAR"}])");
    const CapturedConsoleLines console;
    EXPECT_EQ(failureOf([&] { unarchiver.loadKeyTimeAccessor(0); }),
              "DataInconsistent: loadKeyTimeAccessor: not Float keyTime accessor");
    EXPECT_EQ(failureOf([&] { unarchiver.loadKeyTimeAccessor(1); }),
              "DataInconsistent: loadKeyTimeAccessor: accessor type must be SCALAR");
    // Values share the slot but have no duration.
    unarchiver.loadValueAccessor(2);
    EXPECT_EQ(failureOf([&] { unarchiver.loadKeyTimeAccessor(2); }),
              "DataInconsistent: loadKeyTimeAccessor: the accessor 2 holds key values, not key "
              "times");
}

TEST(ValueAccessor, ReadsNumbersAndVectorsAndSkipsOtherTypes) {
    GLTFUnarchiver unarchiver = unarchiverOf(twelveFloats(), R"(
        "bufferViews": [{"buffer": 0, "byteLength": 48}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 2, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5126, "count": 2, "type": "VEC3"},
                      {"bufferView": 0, "byteOffset": 16, "componentType": 5126, "count": 2,
                       "type": "VEC4"},
                      {"bufferView": 0, "componentType": 5126, "count": 2, "type": "VEC2"}])");
    EXPECT_THAT(numbersOf(unarchiver.loadValueAccessor(0)), ElementsAre(1, 2));
    EXPECT_THAT(unarchiver.loadValueAccessor(1),
                ElementsAre(scene::Value(glm::dvec3(1, 2, 3)), scene::Value(glm::dvec3(4, 5, 6))));
    EXPECT_THAT(
        unarchiver.loadValueAccessor(2),
        ElementsAre(scene::Value(glm::dvec4(5, 6, 7, 8)), scene::Value(glm::dvec4(9, 10, 11, 12))));
    EXPECT_TRUE(unarchiver.loadValueAccessor(3).empty());
}

TEST(ValueAccessor, IntegerComponentsAreNormalisedFractions) {
    TestBytes bytes;
    bytes.append<std::uint8_t>({255, 0, 51, 255}).append<std::int16_t>({-32768, 16384});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 4}, {"buffer": 0, "byteOffset": 4,
                         "byteLength": 4}],
        "accessors": [{"bufferView": 0, "componentType": 5121, "count": 1, "type": "VEC4"},
                      {"bufferView": 1, "componentType": 5122, "count": 2, "type": "SCALAR"}])");
    EXPECT_THAT(unarchiver.loadValueAccessor(0),
                ElementsAre(scene::Value(glm::dvec4(1, 0, 0.2f, 1))));
    EXPECT_THAT(numbersOf(unarchiver.loadValueAccessor(1)),
                ElementsAre(-1, static_cast<float>(16384 / 32767.0)));
}

TEST(ValueAccessor, RefusesDataItCannotRead) {
    GLTFUnarchiver unarchiver = unarchiverOf(R"("buffers": [{"uri": "data:;base64,)" +
                                             gltf::testing::base64(std::vector<std::uint8_t>(100)) +
                                             R"(", "byteLength": 100}],
        "bufferViews": [{"buffer": 0, "byteLength": 100}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 10, "type": "VEC3"},
                      {"componentType": 5126, "count": 1, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5124, "count": 1, "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5126, "count": 4611686018427387904,
                       "type": "VEC3"}])");
    EXPECT_EQ(failureOf([&] { unarchiver.loadValueAccessor(0); }),
              "DataInconsistent: iterateBufferView: offset (0) + byteStride (12) * count (10) "
              "shoule be equal or less than byteLength (100))");
    EXPECT_EQ(failureOf([&] { unarchiver.loadValueAccessor(1); }),
              "DataInconsistent: loadValueAccessor: bufferView is not defined");
    EXPECT_EQ(failureOf([&] { unarchiver.loadValueAccessor(2); }),
              "NotSupported: loadValueAccessor: user defined accessor.componentType is not "
              "supported");
    EXPECT_EQ(failureOf([&] { unarchiver.loadValueAccessor(3); }),
              "DataInconsistent: iterateBufferView: offset (0) + byteStride (12) * count "
              "(4611686018427387904) shoule be equal or less than byteLength (100))");
}

TEST(FileReferences, OnlyRelativePathsAreReadAndTheyMayClimb) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("GLTFReaderFileReferences-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "models");
    std::filesystem::create_directories(folder / "shared");
    std::ofstream(folder / "shared" / "data.bin") << "data";
    const std::string secret = (folder / "secret.bin").string();
    std::ofstream(secret) << "private";
    const std::string refused[] = {secret, "file://" + secret, "%2F" + secret.substr(1),
                                   "https://example.com/data.bin", "C:/data.bin"};
    std::string buffers = R"({"uri": "../shared/data.bin", "byteLength": 4})";
    for (const std::string& uri : refused) {
        buffers += R"(, {"uri": ")" + uri + R"(", "byteLength": 4})";
    }
    std::ofstream(folder / "models" / "model.gltf") << GLTFTestDocument(R"("buffers": [)" +
                                                                        buffers + R"(],
            "images": [{"uri": ")" + secret + R"("}])")
                                                           .json();

    GLTFUnarchiver unarchiver(folder / "models" / "model.gltf");
    EXPECT_EQ(unarchiver.loadBuffer(0).size, 4u);
    const auto refusal = [](const std::string& uri) {
        return "the file reference \"" + uri +
               "\" is refused: only base64 data URIs and paths relative to the document are read";
    };
    for (std::size_t buffer = 1; buffer <= std::size(refused); ++buffer) {
        const std::string& uri = refused[buffer - 1];
        EXPECT_EQ(failureOf([&] { unarchiver.loadBuffer(static_cast<std::int64_t>(buffer)); }),
                  refusal(uri));
    }
    EXPECT_EQ(failureOf([&] { unarchiver.loadImage(0); }), refusal(secret));
    std::filesystem::remove_all(folder);
}

TEST(SparseAccessor, ReplacesTheNamedElementsInACopyOfItsBase) {
    TestBytes bytes = twelveFloats();
    bytes.append<std::uint8_t>({2, 0, 5, 0});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 36}, {"buffer": 0, "byteLength": 48},
                        {"buffer": 0, "byteOffset": 48, "byteLength": 4}],
        "accessors": [
            {"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
             "sparse": {"count": 2, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 1, "byteOffset": 12}}},
            {"componentType": 5126, "count": 3, "type": "VEC3",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 1}}},
            {"componentType": 5126, "count": 3, "type": "VEC3",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "byteOffset": 2,
                                                "componentType": 5121},
                        "values": {"bufferView": 1}}},
            {"componentType": 5126, "count": 3, "type": "VEC3",
             "sparse": {"count": 2, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 1, "byteOffset": 36}}},
            {"componentType": 5123, "count": 3, "type": "SCALAR",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 1}}}])");
    const auto replaced = unarchiver.loadVertexAccessor(0, scene::GeometrySemantic::vertex);
    EXPECT_EQ(replaced->vector(0), glm::dvec4(7, 8, 9, 0));
    EXPECT_EQ(replaced->vector(1), glm::dvec4(4, 5, 6, 0));
    EXPECT_EQ(replaced->vector(2), glm::dvec4(4, 5, 6, 0));
    EXPECT_NE(replaced->data(), unarchiver.loadBuffer(0).block);

    const auto onZeros = unarchiver.loadVertexAccessor(1, scene::GeometrySemantic::vertex);
    EXPECT_EQ(onZeros->vector(1), glm::dvec4(0));
    EXPECT_EQ(onZeros->vector(2), glm::dvec4(1, 2, 3, 0));

    EXPECT_EQ(failureOf([&] { unarchiver.loadVertexAccessor(2, scene::GeometrySemantic::vertex); }),
              "DataInconsistent: loadVertexAccessor: sparse index 5 is not below the count 3");
    EXPECT_EQ(failureOf([&] { unarchiver.loadVertexAccessor(3, scene::GeometrySemantic::vertex); }),
              "DataInconsistent: loadVertexAccessor: sparse values lie outside their bufferView 1");
}

TEST(SparseAccessor, AppliesToIndicesKeyTimesKeyValuesAndInverseBindMatrices) {
    // Indices 0 1 2 and key times 0 1 2, each with its last element replaced (by 9 and by 4);
    // key values and two matrices over zeros, with the last replaced.
    TestBytes bytes;
    bytes.append<std::uint16_t>({0, 1, 2, 9});
    bytes.floats({0, 1, 2, 4});
    bytes.append<std::uint8_t>({2, 1, 0, 0});
    bytes.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 6}, {"buffer": 0, "byteOffset": 6,
                         "byteLength": 2}, {"buffer": 0, "byteOffset": 24, "byteLength": 1},
                        {"buffer": 0, "byteOffset": 8, "byteLength": 12},
                        {"buffer": 0, "byteOffset": 20, "byteLength": 4},
                        {"buffer": 0, "byteOffset": 25, "byteLength": 1},
                        {"buffer": 0, "byteOffset": 28, "byteLength": 64}],
        "accessors": [
            {"bufferView": 0, "componentType": 5123, "count": 3, "type": "SCALAR",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 1}}},
            {"bufferView": 3, "componentType": 5126, "count": 3, "type": "SCALAR",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 4}}},
            {"componentType": 5126, "count": 3, "type": "SCALAR",
             "sparse": {"count": 1, "indices": {"bufferView": 2, "componentType": 5121},
                        "values": {"bufferView": 4}}},
            {"componentType": 5126, "count": 2, "type": "MAT4",
             "sparse": {"count": 1, "indices": {"bufferView": 5, "componentType": 5121},
                        "values": {"bufferView": 6}}}])");
    EXPECT_THAT(indicesOf(*unarchiver.loadIndexAccessor(0, 4)), ElementsAre(0, 1, 9));
    const CapturedConsoleLines quiet;
    const auto [keyTimes, duration] = unarchiver.loadKeyTimeAccessor(1);
    EXPECT_THAT(numbersOf(keyTimes), ElementsAre(0, 0.25, 1));
    EXPECT_EQ(duration, 4);
    EXPECT_THAT(numbersOf(unarchiver.loadValueAccessor(2)), ElementsAre(0, 0, 4));
    const std::vector<scene::Matrix4> matrices = unarchiver.loadInverseBindMatrices(3);
    ASSERT_EQ(matrices.size(), 2u);
    EXPECT_EQ(matrices[0], scene::Matrix4(0.0));
    const std::array<double, 16> translation = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
    EXPECT_EQ(matrices[1], scene::matrixFromElements(translation));
}
