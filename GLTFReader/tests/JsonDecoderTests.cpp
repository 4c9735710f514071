#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"

#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/JsonDecoder.h>
#include <gtest/gtest.h>

using gltf::DecodingError;
using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;
using Kind = DecodingError::Kind;

namespace {

GLTFGlTF decode(const std::string& json) {
    const auto text = gltf::testing::blockOf(json);
    return gltf::decodeJson<GLTFGlTF>(*text, gltf::DecodingContext{});
}

DecodingError decodingErrorOf(const std::string& json) {
    return thrownBy<DecodingError>([&] { decode(json); });
}

} // namespace

TEST(JsonDecoder, ErrorsNameTheKindAndTheCodingPath) {
    const DecodingError missing = decodingErrorOf(
        GLTFTestDocument(R"("meshes": [{"primitives": []}, {"primitives": [{}]}])").json());
    EXPECT_EQ(missing.kind(), Kind::keyNotFound);
    EXPECT_EQ(missing.codingPath(), "meshes[1].primitives[0].attributes");
    EXPECT_STREQ(missing.what(), "keyNotFound at meshes[1].primitives[0].attributes: no value "
                                 "for the required key \"attributes\"");

    const DecodingError wrongType = decodingErrorOf(
        GLTFTestDocument(R"("meshes": [{"primitives": [{"attributes": []}]}])").json());
    EXPECT_EQ(wrongType.kind(), Kind::typeMismatch);
    EXPECT_EQ(wrongType.codingPath(), "meshes[0].primitives[0].attributes");
    EXPECT_STREQ(wrongType.what(), "typeMismatch at meshes[0].primitives[0].attributes: expected "
                                   "an object but found an array");
}

TEST(JsonDecoder, NullIsAbsentForOptionalFieldsAndMissingForRequiredOnes) {
    const GLTFGlTF document =
        decode(GLTFTestDocument(R"("scene": null, "nodes": [{"name": null}])").json());
    EXPECT_FALSE(document.scene);
    EXPECT_FALSE(document.nodes->at(0).name);

    const DecodingError error = decodingErrorOf(R"({"asset": {"version": null}})");
    EXPECT_EQ(error.kind(), Kind::valueNotFound);
    EXPECT_EQ(error.codingPath(), "asset.version");

    EXPECT_EQ(decodingErrorOf(GLTFTestDocument(R"("skins": [{"joints": [0, null]}])").json())
                  .codingPath(),
              "skins[0].joints[1]");
}

TEST(JsonDecoder, IntegersMustBeWholeAndFitIn64Bits) {
    EXPECT_EQ(decode(GLTFTestDocument(R"("scene": 3.0)").json()).scene, 3);
    EXPECT_EQ(decode(GLTFTestDocument(R"("scene": -2)").json()).scene, -2);

    for (const char* number : {"1.5", "18446744073709551615", "1e300"}) {
        const DecodingError error =
            decodingErrorOf(GLTFTestDocument(std::string("\"scene\": ") + number).json());
        EXPECT_EQ(error.kind(), Kind::dataCorrupted) << number;
        EXPECT_EQ(error.codingPath(), "scene");
    }
    EXPECT_EQ(decodingErrorOf(GLTFTestDocument(R"("scene": "0")").json()).kind(),
              Kind::typeMismatch);
}

TEST(JsonDecoder, FloatsAcceptIntegersButNotValuesBeyondSinglePrecision) {
    const GLTFGlTF document =
        decode(GLTFTestDocument(R"("nodes": [{"scale": [1, 2.5, -3e2]}])").json());
    EXPECT_EQ(*document.nodes->at(0)._scale, (std::vector<float>{1.0f, 2.5f, -300.0f}));

    EXPECT_EQ(decodingErrorOf(GLTFTestDocument(R"("nodes": [{"scale": [1e39]}])").json()).kind(),
              Kind::dataCorrupted);
}

TEST(JsonDecoder, TextThatIsNotJsonIsDataCorrupted) {
    for (const char* text : {"", "{", "{\"asset\": }", "\x01\x02", "{} trailing"}) {
        const DecodingError error = decodingErrorOf(text);
        EXPECT_EQ(error.kind(), Kind::dataCorrupted) << text;
        EXPECT_EQ(error.codingPath(), "");
    }
    EXPECT_EQ(decodingErrorOf("[]").kind(), Kind::typeMismatch);
}
