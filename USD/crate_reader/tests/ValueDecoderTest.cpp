#include "ValueDecoder.h"

#include "ByteBuilder.h"

#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FloatArrayCompression.h>
#include <bit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace usd;
using namespace usd::crate;
using testing::HasSubstr;

namespace {

constexpr std::uint64_t kInlined = ValueRep::kInlinedBit;
constexpr std::uint64_t kArray = ValueRep::kArrayBit;
constexpr std::uint64_t kCompressed = ValueRep::kCompressedBit;

// Value data starts after a few zero bytes, so no payload is 0 (which means "empty array").
class ValueDecoderTest : public testing::Test {
  protected:
    ValueDecoderTest() { data.append(std::uint64_t{0}); }

    Value decode(ValueRep rep, Version version = {0, 8, 0}) {
        DecodeBudget budget(budgetLimit);
        ValueDecoder decoder(data.bytes, version, {tokens, strings, paths}, budget);
        return decoder.decode(rep);
    }

    std::string decodeError(ValueRep rep, Version version = {0, 8, 0}) {
        try {
            decode(rep, version);
        } catch (const FormatError& error) {
            return error.what();
        }
        return "no error";
    }

    // Appends a value slot whose nested ValueRep follows directly.
    void appendSlot(ValueRep nested) {
        data.append(std::int64_t{8});
        data.append(nested.bits());
    }

    ByteBuilder data;
    std::vector<std::string> tokens{"", "a", "b", "tex.png", "set", "sel"};
    std::vector<std::uint32_t> strings{1, 2, 3, 4, 5};
    std::vector<Path> paths{Path(), Path::fromString("/A"), Path::fromString("/A.x")};
    std::uint64_t budgetLimit = 1 << 20;
};

} // namespace

TEST_F(ValueDecoderTest, DecodesInlinedScalars) {
    const std::pair<ValueRep, Value> cases[] = {
        {ValueRep::make(Type::Bool, kInlined, 1), true},
        {ValueRep::make(Type::Int, kInlined, 0xFFFFFFFE), std::int32_t{-2}},
        {ValueRep::make(Type::UInt, kInlined, 0xFFFFFFFE), std::uint32_t{0xFFFFFFFE}},
        {ValueRep::make(Type::Half, kInlined, 0x3C00), Half{0x3C00}},
        {ValueRep::make(Type::Float, kInlined, std::bit_cast<std::uint32_t>(1.5f)), 1.5f},
        {ValueRep::make(Type::Double, kInlined, std::bit_cast<std::uint32_t>(0.25f)), 0.25},
        {ValueRep::make(Type::Int64, kInlined, 0xFFFFFFFF), std::int64_t{-1}},
        {ValueRep::make(Type::UInt64, kInlined, 0xFFFFFFFF), std::uint64_t{0xFFFFFFFF}},
        {ValueRep::make(Type::Vec3f, kInlined, 0x7F02FF), Vec3f{-1, 2, 127}},
        {ValueRep::make(Type::Vec4h, kInlined, 0x01), Vec4h{Half{0x3C00}, {}, {}, {}}},
        {ValueRep::make(Type::Vec2h, kInlined, 0xC0003C00), Vec2h{Half{0x3C00}, Half{0xC000}}},
        {ValueRep::make(Type::Matrix4d, kInlined, 0x01010101), Matrix4d::identity()},
        {ValueRep::make(Type::Matrix2d, kInlined, 0xFE02), Matrix2d{{2, 0, 0, -2}}},
        {ValueRep::make(Type::Token, kInlined, 1), Token{"a"}},
        {ValueRep::make(Type::String, kInlined, 0), std::string("a")},
        // A scalar asset path names a token, unlike asset paths inside arrays.
        {ValueRep::make(Type::AssetPath, kInlined, 3), AssetPath{"tex.png"}},
        {ValueRep::make(Type::Specifier, kInlined, 2), Specifier::Class},
        {ValueRep::make(Type::Permission, kInlined, 1), Permission::Private},
        {ValueRep::make(Type::Variability, kInlined, 2), Variability::Uniform},
        {ValueRep::make(Type::ValueBlock, kInlined, 0), ValueBlock{}},
        {ValueRep::make(Type::Dictionary, kInlined, 0), Dictionary{}},
        // Always-inlined types decode from the payload even without the inlined flag.
        {ValueRep::make(Type::Int, 0, 7), std::int32_t{7}},
    };
    for (const auto& [rep, expected] : cases) {
        EXPECT_EQ(decode(rep), expected) << std::hex << rep.bits();
    }
}

TEST_F(ValueDecoderTest, DecodesOutOfLineScalarsInFileOrder) {
    const auto doubleAt = data.append(0.01);
    const auto vecAt = data.append(Vec3d{1.5, -2.5, 3.25});
    Matrix4d transform = Matrix4d::identity();
    transform.rowMajor[13] = 0.5;
    const auto matrixAt = data.append(transform);
    const auto quatAt = data.append(std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.9f});
    const auto int64At = data.append(std::int64_t{1} << 40);
    const auto expressionAt = data.append(std::uint32_t{1});

    EXPECT_EQ(decode(ValueRep::make(Type::Double, 0, doubleAt)), Value(0.01));
    EXPECT_EQ(decode(ValueRep::make(Type::Vec3d, 0, vecAt)), Value(Vec3d{1.5, -2.5, 3.25}));
    EXPECT_EQ(decode(ValueRep::make(Type::Matrix4d, 0, matrixAt)), Value(transform));
    EXPECT_EQ(decode(ValueRep::make(Type::Quatf, 0, quatAt)),
              Value(Quatf{{0.1f, 0.2f, 0.3f}, 0.9f}));
    EXPECT_EQ(decode(ValueRep::make(Type::TimeCode, 0, doubleAt)), Value(TimeCode{0.01}));
    EXPECT_EQ(decode(ValueRep::make(Type::Int64, 0, int64At)), Value(std::int64_t{1} << 40));
    EXPECT_EQ(decode(ValueRep::make(Type::PathExpression, 0, expressionAt)),
              Value(PathExpression{"b"}));
}

TEST_F(ValueDecoderTest, ReadsArrayHeadersOfEveryVersion) {
    const Value expected = Array<std::int32_t>{4, 5, 6};
    const auto rankedAt = data.append(std::uint32_t{1});
    data.append(std::uint32_t{3});
    for (const std::int32_t value : {4, 5, 6}) {
        data.append(value);
    }
    const auto narrowAt = data.append(std::uint32_t{3});
    for (const std::int32_t value : {4, 5, 6}) {
        data.append(value);
    }
    const auto wideAt = data.append(std::uint64_t{3});
    for (const std::int32_t value : {4, 5, 6}) {
        data.append(value);
    }
    EXPECT_EQ(decode(ValueRep::make(Type::Int, kArray, rankedAt), {0, 4, 0}), expected);
    EXPECT_EQ(decode(ValueRep::make(Type::Int, kArray, narrowAt), {0, 6, 0}), expected);
    EXPECT_EQ(decode(ValueRep::make(Type::Int, kArray, wideAt), {0, 7, 0}), expected);
    EXPECT_EQ(decode(ValueRep::make(Type::Float, kArray, 0)), Value(Array<float>{}));
}

TEST_F(ValueDecoderTest, ResolvesIndexedArrayElements) {
    const auto tokensAt = data.append(std::uint64_t{2});
    data.append(std::uint32_t{2});
    data.append(std::uint32_t{1});
    // Asset paths inside arrays name strings: string 2 is token 3.
    const auto assetsAt = data.append(std::uint64_t{1});
    data.append(std::uint32_t{2});
    const auto boolsAt = data.append(std::uint64_t{3});
    data.appendBytes(std::vector<std::uint8_t>{1, 0, 2});

    EXPECT_EQ(decode(ValueRep::make(Type::Token, kArray, tokensAt)),
              Value(Array<Token>{{"b"}, {"a"}}));
    EXPECT_EQ(decode(ValueRep::make(Type::AssetPath, kArray, assetsAt)),
              Value(Array<AssetPath>{{"tex.png"}}));
    EXPECT_EQ(decode(ValueRep::make(Type::Bool, kArray, boolsAt)),
              Value(Array<bool>{true, false, true}));
}

TEST_F(ValueDecoderTest, DecodesCompressedArraysAndShortOnesStoredRaw) {
    std::vector<std::int32_t> ints(20);
    std::vector<float> floats(20);
    for (int i = 0; i < 20; ++i) {
        ints[i] = i * i - 50;
        floats[i] = static_cast<float>(i % 3);
    }
    const auto intsAt = data.append(std::uint64_t{20});
    data.appendBytes(compressIntegerBlock<std::int32_t>(ints));
    const auto floatsAt = data.append(std::uint64_t{20});
    data.appendBytes(*compressFloatArray<float>(floats));
    const auto shortAt = data.append(std::uint64_t{2});
    data.append(std::int64_t{-9});
    data.append(std::int64_t{9});

    EXPECT_EQ(decode(ValueRep::make(Type::Int, kArray | kCompressed, intsAt)), Value(ints));
    EXPECT_EQ(decode(ValueRep::make(Type::Float, kArray | kCompressed, floatsAt)), Value(floats));
    EXPECT_EQ(decode(ValueRep::make(Type::Int64, kArray | kCompressed, shortAt)),
              Value(Array<std::int64_t>{-9, 9}));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Float, kArray | kCompressed, floatsAt), {0, 5, 0}),
                HasSubstr("marked compressed"));
}

TEST_F(ValueDecoderTest, DecodesNestedDictionariesThroughValueSlots) {
    const auto innerAt = data.append(std::uint64_t{1});
    data.append(std::uint32_t{1}); // key "b"
    appendSlot(ValueRep::make(Type::Int, kInlined, 3));
    const auto outerAt = data.append(std::uint64_t{2});
    data.append(std::uint32_t{0}); // key "a"
    appendSlot(ValueRep::make(Type::Dictionary, 0, innerAt));
    data.append(std::uint32_t{2}); // key "tex.png", value data between distance and rep
    data.append(std::int64_t{16});
    data.append(1.25);
    data.append(ValueRep::make(Type::Double, 0, data.bytes.size() - 8).bits());

    Dictionary inner;
    inner.set("b", 3);
    Dictionary outer;
    outer.set("a", inner);
    outer.set("tex.png", 1.25);
    EXPECT_EQ(decode(ValueRep::make(Type::Dictionary, 0, outerAt)), Value(outer));
}

TEST_F(ValueDecoderTest, DecodesListOpsInStorageOrder) {
    const auto pathsAt = data.append(std::uint8_t{0x03});
    data.append(std::uint64_t{1});
    data.append(std::uint32_t{1});
    // Prepended and deleted lists: stored prepended first although its bit is higher.
    const auto tokensAt = data.append(std::uint8_t{0x28});
    data.append(std::uint64_t{1});
    data.append(std::uint32_t{1});
    data.append(std::uint64_t{1});
    data.append(std::uint32_t{2});

    EXPECT_EQ(decode(ValueRep::make(Type::PathListOp, 0, pathsAt)),
              Value(PathListOp::makeExplicit({Path::fromString("/A")})));
    TokenListOp expected = TokenListOp::makePrepended({{"a"}});
    expected.deletedItems = {{"b"}};
    EXPECT_EQ(decode(ValueRep::make(Type::TokenListOp, 0, tokensAt)), Value(expected));
}

TEST_F(ValueDecoderTest, DecodesReferencesPayloadsAndSelections) {
    const auto referencesAt = data.append(std::uint8_t{0x20});
    data.append(std::uint64_t{1});
    data.append(std::uint32_t{2}); // "tex.png"
    data.append(std::uint32_t{1}); // /A
    data.append(2.0);
    data.append(0.5);
    data.append(std::uint64_t{0}); // no customData
    const auto payloadAt = data.append(std::uint32_t{0});
    data.append(std::uint32_t{0});
    data.append(1.0);
    data.append(2.0);
    const auto selectionsAt = data.append(std::uint64_t{1});
    data.append(std::uint32_t{3});
    data.append(std::uint32_t{4});

    EXPECT_EQ(decode(ValueRep::make(Type::ReferenceListOp, 0, referencesAt)),
              Value(ReferenceListOp::makePrepended(
                  {Reference{"tex.png", Path::fromString("/A"), {2.0, 0.5}, {}}})));
    EXPECT_EQ(decode(ValueRep::make(Type::Payload, 0, payloadAt)),
              Value(Payload{"a", Path(), {1.0, 2.0}}));
    // Before 0.8.0 payloads carry no layer offset.
    EXPECT_EQ(decode(ValueRep::make(Type::Payload, 0, payloadAt), {0, 7, 0}),
              Value(Payload{"a", Path(), {}}));
    EXPECT_EQ(decode(ValueRep::make(Type::VariantSelectionMap, 0, selectionsAt)),
              Value(VariantSelectionMap{{"set", "sel"}}));
}

TEST_F(ValueDecoderTest, DecodesTimeSamples) {
    const auto samplesAt = data.bytes.size();
    data.append(std::int64_t{8 + 24}); // times vector written in between
    const auto timesAt = data.append(std::uint64_t{2});
    data.append(0.0);
    data.append(24.0);
    data.append(ValueRep::make(Type::DoubleVector, 0, timesAt).bits());
    data.append(std::int64_t{8});
    data.append(std::uint64_t{2});
    data.append(ValueRep::make(Type::Float, kInlined, std::bit_cast<std::uint32_t>(2.0f)).bits());
    data.append(ValueRep::make(Type::ValueBlock, kInlined, 0).bits());

    EXPECT_EQ(decode(ValueRep::make(Type::TimeSamples, 0, samplesAt)),
              Value(TimeSamples{{0.0, 24.0}, {Value(2.0f), Value(ValueBlock{})}}));
}

TEST_F(ValueDecoderTest, RefusesCorruptAndHostileValues) {
    const auto selfAt = data.append(std::uint64_t{1});
    data.append(std::uint32_t{0});
    appendSlot(ValueRep::make(Type::Dictionary, 0, selfAt));
    const auto hugeAt = data.append(std::uint64_t{1} << 60);
    const auto badSlotAt = data.append(std::uint64_t{1});
    data.append(std::uint32_t{0});
    data.append(std::int64_t{-64});
    data.append(std::uint64_t{0});

    EXPECT_THAT(decodeError(ValueRep::make(Type::Dictionary, 0, selfAt)),
                HasSubstr("contains itself"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Vec3f, kArray, hugeAt)), HasSubstr("ends early"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::TokenVector, 0, hugeAt)), HasSubstr("ends early"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Dictionary, 0, badSlotAt)),
                HasSubstr("points outside the file"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Token, kInlined, 99)),
                HasSubstr("token index 99 is out of range"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Double, 0, 1u << 30)),
                HasSubstr("outside the data"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Specifier, kInlined, 7)), HasSubstr("not valid"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Spline, 0, 8)), HasSubstr("unsupported"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Dictionary, kArray, 8)),
                HasSubstr("cannot form an array"));
    EXPECT_THAT(decodeError(ValueRep::make(Type::Quatf, kInlined, 1)),
                HasSubstr("cannot be inlined"));
    EXPECT_THAT(decodeError(ValueRep(ValueRep::kArrayEditBit | (3ull << 48))),
                HasSubstr("array edit"));
}

TEST_F(ValueDecoderTest, StopsWhenDecodingOutgrowsItsBudget) {
    const auto arrayAt = data.append(std::uint64_t{1000});
    data.bytes.resize(data.bytes.size() + 1000 * sizeof(Vec3f));
    budgetLimit = 4096;
    EXPECT_THROW(decode(ValueRep::make(Type::Vec3f, kArray, arrayAt)), DecodeLimitExceeded);
}
