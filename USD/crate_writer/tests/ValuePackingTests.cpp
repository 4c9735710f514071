#include "ValuePacker.h"

#include <USD/codec/CompressedIntegers.h>
#include <USD/crate_writer/CrateWriter.h>
#include <cstring>
#include <gtest/gtest.h>

namespace usd::crate {
namespace {

class ValuePacking : public ::testing::Test {
  protected:
    ValuePacking() { out.append(std::array<std::uint8_t, kBootstrapSize>{}); }

    std::uint64_t rep(const Value& value) { return packer.pack(value).bits(); }

    template <typename T> T readAt(std::uint64_t offset) {
        T value;
        std::memcpy(&value, out.bytesFrom(offset).data(), sizeof value);
        return value;
    }

    ByteSink out;
    TokenTable tokens;
    StringTable strings{tokens};
    PathTable paths{tokens};
    ValuePacker packer{out, tokens, strings, paths};
};

TEST_F(ValuePacking, InlinesWhatFitsAsUsdDoes) {
    EXPECT_EQ(rep(Specifier::Def), 0x402A000000000000u);
    EXPECT_EQ(rep(Variability::Uniform), 0x402C000000000001u);
    EXPECT_EQ(rep(false), 0x4001000000000000u);
    EXPECT_EQ(rep(1.0), 0x400900003F800000u);
    EXPECT_EQ(rep(0.25f), 0x400800003E800000u);
    EXPECT_EQ(rep(Vec3f{1, 1, 1}), 0x4018000000010101u);
    EXPECT_EQ(rep(Matrix4d::identity()), 0x400F000001010101u);
    EXPECT_EQ(rep(Dictionary{}), 0x401F000000000000u);
    EXPECT_EQ(rep(ValueBlock{}), 0x4033000000000000u);
    EXPECT_EQ(rep(std::int64_t{-5}), 0x40050000FFFFFFFBu);
    EXPECT_EQ(out.size(), kBootstrapSize); // nothing went out of line
}

TEST_F(ValuePacking, StoresScalarAssetPathsAsTokensButAssetArraysAsStrings) {
    const auto scalar = packer.pack(AssetPath{"./a.png"});
    EXPECT_EQ(scalar.type(), Type::AssetPath);
    EXPECT_EQ(tokens.tokens()[scalar.inlineWord()], "./a.png");
    EXPECT_TRUE(strings.tokenIndexes().empty());

    const auto array = packer.pack(Array<AssetPath>{{"./b.png"}});
    EXPECT_EQ(readAt<std::uint64_t>(array.payload()), 1u);
    const auto stringIndex = readAt<std::uint32_t>(array.payload() + 8);
    EXPECT_EQ(tokens.tokens()[strings.tokenIndexes().at(stringIndex)], "./b.png");
}

TEST_F(ValuePacking, WritesDoublesAndVectorsThatDoNotFitOutOfLine) {
    const auto hundredth = packer.pack(0.01);
    EXPECT_FALSE(hundredth.isInlined());
    EXPECT_EQ(hundredth.payload(), kBootstrapSize);
    EXPECT_EQ(readAt<double>(hundredth.payload()), 0.01);

    const auto vector = packer.pack(Vec3f{0.5f, 0, 0});
    EXPECT_FALSE(vector.isInlined());
    EXPECT_EQ(readAt<Vec3f>(vector.payload()), (Vec3f{0.5f, 0, 0}));
    // Negative zero would lose its sign as a small whole number.
    EXPECT_FALSE(packer.pack(Vec3d{-0.0, 0, 0}).isInlined());
}

TEST_F(ValuePacking, CompressesIntegerArraysOfSixteenOrMore) {
    const Array<std::int32_t> small{0, 3, 2, 1};
    const auto raw = packer.pack(small);
    EXPECT_EQ(raw.bits() >> 48, 0x8003u);
    EXPECT_EQ(readAt<std::uint64_t>(raw.payload()), 4u);
    EXPECT_EQ(readAt<std::int32_t>(raw.payload() + 8 + 4), 3);

    Array<std::int32_t> large(100);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::int32_t>(i * 7 % 13);
    const auto compressed = packer.pack(large);
    EXPECT_EQ(compressed.bits() >> 48, 0xA003u);
    ByteReader reader(out.bytesFrom(0), compressed.payload());
    EXPECT_EQ(reader.read<std::uint64_t>(), 100u);
    EXPECT_EQ(readCompressedIntegers<std::int32_t>(reader, 100), large);
    // Compressed in place: nothing of the room set aside for the worst case is left behind.
    const auto blockLength = readAt<std::uint64_t>(compressed.payload() + 8);
    EXPECT_EQ(out.size(), compressed.payload() + 8 + 8 + blockLength);
}

TEST_F(ValuePacking, CompressesWholeNumberFloatArraysAndAlignsRawOnes) {
    const auto whole = packer.pack(Array<float>(32, 2.0f));
    EXPECT_EQ(whole.bits() >> 48, 0xA008u);
    EXPECT_EQ(readAt<std::uint8_t>(whole.payload() + 8), 'i');

    out.append(std::uint8_t{1}); // knock the end of the value area off alignment
    const auto points = packer.pack(Array<Vec3f>{{0.5f, 0, 0}, {1, 2, 3}});
    EXPECT_EQ(points.bits() >> 48, 0x8018u);
    EXPECT_EQ(points.payload() % 8, 0u);
    EXPECT_EQ(readAt<Vec3f>(points.payload() + 8 + 12), (Vec3f{1, 2, 3}));

    EXPECT_EQ(rep(Array<Vec3f>{}), 0x8018000000000000u); // empty: no data at all
}

TEST_F(ValuePacking, WritesIdenticalValuesOnce) {
    const Array<Vec3f> points{{0.5f, 1, 2}, {3, 4, 5.5f}};
    const auto first = packer.pack(points);
    const std::uint64_t size = out.size();
    out.append(std::uint8_t{1}); // the copy would need different padding
    EXPECT_EQ(packer.pack(points).bits(), first.bits());
    EXPECT_EQ(out.size(), size + 1);
    EXPECT_NE(rep(Array<Vec3f>{{0.5f, 1, 2}}), first.bits());
    // Same bytes, other type: not the same value.
    EXPECT_NE(rep(Array<float>{0.5f, 1, 2, 3, 4, 5.5f}), first.bits());
}

// Big raw arrays are hashed piece by piece as they are copied; a repeat must still be found,
// and a near-repeat must not be taken for one.
TEST_F(ValuePacking, FindsRepeatsOfBigArraysHashedWhileCopied) {
    Array<Vec3f> points(100'000);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = {static_cast<float>(i), 1, 2};
    const auto first = packer.pack(points);
    const std::uint64_t size = out.size();
    EXPECT_EQ(packer.pack(points).bits(), first.bits());
    EXPECT_EQ(out.size(), size);
    points.back()[2] = 3;
    EXPECT_NE(packer.pack(points).bits(), first.bits());
    EXPECT_GT(out.size(), size);
}

TEST_F(ValuePacking, WritesDictionariesWithValueSlots) {
    Dictionary dictionary;
    dictionary.set("scale", 0.01);
    const auto written = packer.pack(dictionary);
    const std::uint64_t at = written.payload();
    EXPECT_EQ(readAt<std::uint64_t>(at), 1u);
    EXPECT_EQ(tokens.tokens()[strings.tokenIndexes()[readAt<std::uint32_t>(at + 8)]], "scale");
    const auto distance = readAt<std::int64_t>(at + 12);
    EXPECT_EQ(distance, 16); // the nested double's 8 bytes sit inside the slot
    const ValueRep nested(readAt<std::uint64_t>(at + 12 + distance));
    EXPECT_EQ(nested.type(), Type::Double);
    EXPECT_EQ(readAt<double>(nested.payload()), 0.01);
}

TEST_F(ValuePacking, WritesTimeSamplesAfterTheirTimesAndValues) {
    const auto samples = packer.pack(TimeSamples{{0, 24}, {Vec3f{0.5f, 0, 0}, ValueBlock{}}});
    const std::uint64_t at = samples.payload();
    EXPECT_EQ(readAt<std::int64_t>(at), 8);
    const ValueRep times(readAt<std::uint64_t>(at + 8));
    EXPECT_EQ(times.type(), Type::DoubleVector);
    EXPECT_EQ(readAt<double>(times.payload() + 8 + 8), 24.0);
    EXPECT_EQ(readAt<std::int64_t>(at + 16), 8);
    EXPECT_EQ(readAt<std::uint64_t>(at + 24), 2u);
    EXPECT_EQ(ValueRep(readAt<std::uint64_t>(at + 32)).type(), Type::Vec3f);
    EXPECT_EQ(readAt<std::uint64_t>(at + 40), 0x4033000000000000u);

    EXPECT_THROW(packer.pack(TimeSamples{{0, 1}, {1.0}}), CrateWriteError);
}

TEST_F(ValuePacking, WritesListOpsInStorageOrder) {
    PathListOp op;
    op.isExplicit = true;
    op.explicitItems = {Path::fromString("/Mat")};
    op.deletedItems = {Path::fromString("/Old")};
    op.prependedItems = {Path::fromString("/First")};
    const auto written = packer.pack(op);
    const std::uint64_t at = written.payload();
    EXPECT_EQ(readAt<std::uint8_t>(at), 0x01 | 0x02 | 0x08 | 0x20);
    EXPECT_EQ(readAt<std::uint64_t>(at + 1), 1u);
    EXPECT_EQ(readAt<std::uint32_t>(at + 9), paths.add(Path::fromString("/Mat")));
    EXPECT_EQ(readAt<std::uint32_t>(at + 9 + 4 + 8), paths.add(Path::fromString("/First")));
    EXPECT_EQ(readAt<std::uint32_t>(at + 2 * (4 + 8) + 9), paths.add(Path::fromString("/Old")));
}

TEST_F(ValuePacking, RaisesTheVersionOnlyForValuesThatNeedIt) {
    packer.pack(PayloadListOp::makePrepended({Payload{"a.usd", {}, {}}}));
    EXPECT_EQ(packer.versionNeeded(), (Version{0, 8, 0}));
    packer.pack(Array<TimeCode>{TimeCode{1}});
    EXPECT_EQ(packer.versionNeeded(), (Version{0, 9, 0}));
    packer.pack(Relocates{{{Path::fromString("/A"), Path::fromString("/B")}}});
    EXPECT_EQ(packer.versionNeeded(), (Version{0, 11, 0}));
    EXPECT_THROW(packer.pack(Value{}), CrateWriteError);
}

} // namespace
} // namespace usd::crate
