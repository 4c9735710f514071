#include <USD/layer/Value.h>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace usd;

TEST(Half, ConvertsExactlyRoundsToEvenAndSaturates) {
    struct Case {
        float value;
        std::uint16_t bits;
    };
    for (const Case c : {Case{1.0f, 0x3C00}, Case{-2.0f, 0xC000}, Case{65504.0f, 0x7BFF},
                         Case{0.0f, 0x0000}, Case{-0.0f, 0x8000},
                         Case{std::ldexp(1.0f, -24), 0x0001}, Case{std::ldexp(1.0f, -14), 0x0400},
                         Case{1.0f + std::ldexp(1.0f, -11), 0x3C00},     // tie, stays even
                         Case{1.0f + 3 * std::ldexp(1.0f, -11), 0x3C02}, // tie, rounds up to even
                         Case{65520.0f, 0x7C00}, Case{1e10f, 0x7C00},
                         Case{std::numeric_limits<float>::infinity(), 0x7C00},
                         Case{std::ldexp(1.0f, -26), 0x0000}}) {
        EXPECT_EQ(Half::fromFloat(c.value).bits, c.bits) << c.value;
    }
    for (const std::uint16_t bits : {0x3C00, 0xC000, 0x7BFF, 0x0001, 0x03FF, 0x8400, 0x7C00}) {
        EXPECT_EQ(Half::fromFloat(Half{bits}.toFloat()).bits, bits);
    }
    EXPECT_TRUE(std::isnan(Half::fromFloat(std::nanf("")).toFloat()));
}

TEST(Value, DistinguishesTypesThatShareARepresentation) {
    EXPECT_NE(Value(Token{"a"}), Value(std::string("a")));
    EXPECT_NE(Value(Token{"a"}), Value(AssetPath{"a"}));
    EXPECT_NE(Value(Array<Token>{{"a"}}), Value(TokenVector{{{"a"}}}));
    EXPECT_NE(Value(Array<double>{1.0}), Value(DoubleVector{{1.0}}));
    EXPECT_NE(Value(1.0f), Value(1.0));
    EXPECT_NE(Value(), Value(ValueBlock{}));
    EXPECT_TRUE(Value().isEmpty());
}

TEST(Value, DictionariesCompareIndependentlyOfInsertionOrderAndNest) {
    Dictionary inner;
    inner.set("x", 1);
    Dictionary a;
    a.set("first", std::string("one"));
    a.set("nested", inner);
    Dictionary b;
    b.set("nested", inner);
    b.set("first", std::string("one"));
    EXPECT_EQ(Value(a), Value(b));

    b.set("first", std::string("changed"));
    EXPECT_NE(Value(a), Value(b));
    ASSERT_NE(a.find("nested"), nullptr);
    const Dictionary* nested = a.find("nested")->get<Dictionary>();
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(*nested->find("x")->get<std::int32_t>(), 1);
    EXPECT_EQ(a.find("missing"), nullptr);
}

TEST(Value, LargeArraysMoveInWithoutCopying) {
    Array<Vec3f> points(100000, Vec3f{1.0f, 2.0f, 3.0f});
    const Vec3f* data = points.data();
    Value value(std::move(points));
    Value moved(std::move(value));
    ASSERT_TRUE(moved.holds<Array<Vec3f>>());
    EXPECT_EQ(moved.get<Array<Vec3f>>()->data(), data);
}

TEST(Value, TimeSamplesAndListOpsCompareItemByItem) {
    TimeSamples samples{{0.0, 1.0}, {Value(1.0f), Value(ValueBlock{})}};
    TimeSamples other = samples;
    EXPECT_EQ(Value(samples), Value(other));
    other.values[1] = Value(2.0f);
    EXPECT_NE(Value(samples), Value(other));

    const auto bound = PathListOp::makeExplicit({Path::fromString("/Mat")});
    EXPECT_EQ(Value(bound), Value(PathListOp::makeExplicit({Path::fromString("/Mat")})));
    EXPECT_NE(Value(bound), Value(PathListOp::makePrepended({Path::fromString("/Mat")})));
    EXPECT_NE(Value(PathListOp::makeExplicit({})), Value(PathListOp{}));
}
