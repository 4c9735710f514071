#include "Inlining.h"

#include <gtest/gtest.h>
#include <limits>

namespace usd::crate {
namespace {

TEST(Inlining, KeepsDoublesInlineOnlyWhenAFloatHoldsThemExactly) {
    EXPECT_EQ(tryInlineWord(0.5), 0x3F000000u);
    EXPECT_EQ(tryInlineWord(-0.0), 0x80000000u);
    EXPECT_FALSE(tryInlineWord(0.01));
    EXPECT_FALSE(tryInlineWord(1e39));
    EXPECT_FALSE(tryInlineWord(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(tryInlineWord(std::numeric_limits<double>::infinity()));
}

TEST(Inlining, KeepsWideIntegersInlineWithinThirtyTwoBits) {
    EXPECT_EQ(tryInlineWord(std::int64_t{-1}), 0xFFFFFFFFu);
    EXPECT_FALSE(tryInlineWord(std::int64_t{1} << 31));
    EXPECT_EQ(tryInlineWord(std::uint64_t{0xFFFFFFFF}), 0xFFFFFFFFu);
    EXPECT_FALSE(tryInlineWord(std::uint64_t{1} << 32));
}

TEST(Inlining, PacksSmallWholeVectorsAndDiagonalMatricesByteWise) {
    EXPECT_EQ(tryInlineWord(Vec3i{-1, 0, 127}), 0x007F00FFu);
    EXPECT_EQ(tryInlineWord(Vec4h{Half::fromFloat(2), {}, {}, Half::fromFloat(-128)}), 0x80000002u);
    EXPECT_FALSE(tryInlineWord(Vec2f{128, 0}));
    EXPECT_FALSE(tryInlineWord(Vec2d{0.5, 0}));
    EXPECT_FALSE(tryInlineWord(Vec2f{-0.0f, 0}));

    Matrix3d scale = Matrix3d::identity();
    scale.rowMajor[4] = 2;
    EXPECT_EQ(tryInlineWord(scale), 0x00010201u);
    scale.rowMajor[1] = 0.5;
    EXPECT_FALSE(tryInlineWord(scale));
    EXPECT_EQ(inlineWord(Vec2h{Half{0x3C00}, Half{0x4000}}), 0x40003C00u);
}

} // namespace
} // namespace usd::crate
