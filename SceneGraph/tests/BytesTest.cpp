#include <SceneGraph/Bytes.h>
#include <cstdint>
#include <gtest/gtest.h>

namespace scene {
namespace {

// A block that views memory something else owns keeps that owner alive for as long as any
// reader holds the block, and reads exactly the bytes it was given.
TEST(Bytes, AViewKeepsItsOwnerAliveAndReadsItsBytesInPlace) {
    auto owner = std::make_shared<std::vector<float>>(std::vector<float>{1.0f, 2.0f, 3.0f});
    const std::span<const std::uint8_t> floats(reinterpret_cast<const std::uint8_t*>(owner->data()),
                                               owner->size() * sizeof(float));
    Bytes view = viewBytes(floats.subspan(4), owner);
    const std::weak_ptr<std::vector<float>> watch = owner;
    owner.reset();
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(view->data(), floats.data() + 4);
    EXPECT_EQ(view->size(), 8u);
    view.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(Bytes, AnUnsetBlockReadsWhatWasWrittenThroughItsFirstValue) {
    auto [first, bytes] = makeUnsetBlock<float>(2);
    first[0] = 1.5f;
    first[1] = -2.0f;
    const float expected[] = {1.5f, -2.0f};
    EXPECT_EQ(*bytes, std::span(reinterpret_cast<const std::uint8_t*>(expected), sizeof expected));
    EXPECT_EQ(makeUnsetBlock<std::uint8_t>(0).bytes->size(), 0u);
}

// A large block lies on whole huge pages, from a huge-page boundary, and every byte of it can
// be written and read back; a small one is an ordinary allocation.
TEST(Bytes, ALargeUnsetBlockStartsOnAHugePageAndHoldsAllItsValues) {
    const std::size_t count = 3 * base::kHugePageSize / sizeof(std::uint32_t) + 5;
    auto [first, bytes] = makeUnsetBlock<std::uint32_t>(count);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % base::kHugePageSize, 0u);
    ASSERT_EQ(bytes->size(), count * sizeof(std::uint32_t));
    for (std::size_t i = 0; i < count; ++i)
        first[i] = static_cast<std::uint32_t>(i);
    EXPECT_EQ(first[count - 1], count - 1);

    auto [small, smallBytes] = makeUnsetBlock<double>(3);
    small[2] = 0.5;
    EXPECT_EQ(smallBytes->size(), 3 * sizeof(double));
    EXPECT_THROW(makeUnsetBlock<double>(SIZE_MAX / 4), std::bad_alloc);
}

TEST(Bytes, BlocksCompareByContentWhereverTheyLie) {
    const std::vector<std::uint8_t> content{1, 2, 3};
    const Bytes owned = makeBytes(content);
    const Bytes viewed = viewBytes(content, nullptr);
    EXPECT_EQ(*owned, *viewed);
    EXPECT_EQ(*owned, content);
    EXPECT_FALSE(*owned == std::vector<std::uint8_t>({1, 2}));
    EXPECT_TRUE(makeBytes({})->empty());
}

} // namespace
} // namespace scene
