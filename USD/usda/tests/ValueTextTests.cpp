#include "ValueText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace usd::usda {
namespace {

std::string text(const Value& value) {
    return valueText(value, 0);
}

TEST(ValueText, PrintsNumbersSoTheyReadBackExactly) {
    EXPECT_EQ(text(1.0), "1");
    EXPECT_EQ(text(0.01), "0.01");
    EXPECT_EQ(text(0.1f), "0.1");
    EXPECT_EQ(text(1e-30), "1e-30");
    EXPECT_EQ(text(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(text(-std::numeric_limits<float>::infinity()), "-inf");
    EXPECT_EQ(text(std::nan("")), "nan");
    EXPECT_EQ(text(Half::fromFloat(0.5f)), "0.5");
    EXPECT_EQ(text(std::uint8_t{200}), "200");
    EXPECT_EQ(text(std::int64_t{-9000000000}), "-9000000000");
    EXPECT_EQ(text(true), "1");
}

TEST(ValueText, QuotesTextAndAssetPaths) {
    EXPECT_EQ(text(std::string("say \"hi\"\\\n")), R"("say \"hi\"\\\n")");
    EXPECT_EQ(text(std::string("bell\x07")), R"("bell\x07")");
    EXPECT_EQ(text(Token{"Y"}), "\"Y\"");
    EXPECT_EQ(text(AssetPath{"./textures/a.png"}), "@./textures/a.png@");
    EXPECT_EQ(text(AssetPath{"odd@name.png"}), "@@@odd@name.png@@@");
}

TEST(ValueText, PrintsVectorsMatricesAndQuaternionsInTextOrder) {
    EXPECT_EQ(text(Vec3f{1, 0.5f, -2}), "(1, 0.5, -2)");
    EXPECT_EQ(text(Vec2i{3, 4}), "(3, 4)");
    Matrix2d m{{1, 2, 3, 4}};
    EXPECT_EQ(text(m), "((1, 2), (3, 4))");
    EXPECT_EQ(text(Quatf{{1, 2, 3}, 0.5f}), "(0.5, 1, 2, 3)"); // real part first
    EXPECT_EQ(text(Array<Vec2f>{{0, 1}, {2, 3}}), "[(0, 1), (2, 3)]");
    EXPECT_EQ(text(Array<std::int32_t>{}), "[]");
}

TEST(ValueText, PrintsNestedDictionariesWithTypedIndentedEntries) {
    Dictionary inner;
    inner.set("count", std::int32_t{3});
    Dictionary outer;
    outer.set("inner", inner);
    outer.set("not an identifier", Token{"t"});
    EXPECT_EQ(valueText(outer, 1), "{\n"
                                   "        dictionary inner = {\n"
                                   "            int count = 3\n"
                                   "        }\n"
                                   "        token \"not an identifier\" = \"t\"\n"
                                   "    }");
    EXPECT_EQ(text(Dictionary{}), "{}");
}

TEST(ValueText, PrintsTimeSamplesAndCompositionValues) {
    TimeSamples samples{{0, 1.5}, {Vec3d{0, 0, 0}, ValueBlock{}}};
    EXPECT_EQ(text(samples), "{\n    0: (0, 0, 0),\n    1.5: None,\n}");
    Reference reference{"other.usda", Path::fromString("/Prim"), {2, 1}, {}};
    EXPECT_EQ(text(ReferenceListOp::makePrepended({reference})),
              "prepend [@other.usda@</Prim> (offset = 2; scale = 1)]");
    EXPECT_EQ(text(Relocates{{{Path::fromString("/A"), Path::fromString("/B")}}}), "{</A>: </B>}");
}

TEST(ValueText, SplitsListOpsIntoTheirLists) {
    TokenListOp op;
    op.prependedItems = {Token{"MaterialBindingAPI"}};
    op.deletedItems = {Token{"Old"}};
    const auto parts = listOpParts(op);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 2u);
    EXPECT_EQ((*parts)[0].keyword, "prepend");
    EXPECT_EQ((*parts)[0].items, "[\"MaterialBindingAPI\"]");
    EXPECT_EQ((*parts)[1].keyword, "delete");

    const auto cleared = listOpParts(PathListOp::makeExplicit({}));
    ASSERT_TRUE(cleared);
    EXPECT_EQ((*cleared)[0].keyword, "");
    EXPECT_EQ((*cleared)[0].items, "None");
    EXPECT_FALSE(listOpParts(Token{"x"}));
}

TEST(ValueText, NamesValueTypesAsTextFilesDo) {
    EXPECT_EQ(typeNameOf(Array<Vec3f>{}), "float3[]");
    EXPECT_EQ(typeNameOf(Vec2h{}), "half2");
    EXPECT_EQ(typeNameOf(Vec4i{}), "int4");
    EXPECT_EQ(typeNameOf(Matrix4d{}), "matrix4d");
    EXPECT_EQ(typeNameOf(Array<AssetPath>{}), "asset[]");
    EXPECT_EQ(typeNameOf(std::uint8_t{}), "uchar");
    EXPECT_EQ(typeNameOf(Dictionary{}), "dictionary");
    EXPECT_EQ(typeNameOf(TokenVector{}), "token[]");
}

} // namespace
} // namespace usd::usda
