#include "ValuePrinting.h"

#include <SceneGraph/Color.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Node.h>
#include <gtest/gtest.h>

namespace scene {
namespace {

TEST(ColorEncoding, LinearFactorsBecomeSrgb) {
    EXPECT_FLOAT_EQ(sRGBFromLinear(0.0f), 0.0f);
    EXPECT_NEAR(sRGBFromLinear(1.0f), 1.0f, 1e-6);
    EXPECT_NEAR(sRGBFromLinear(0.5f), 0.7354f, 1e-4);
    EXPECT_NEAR(sRGBFromLinear(0.002f), 0.02584f, 1e-5);
}

TEST(Value, ConstructorsPickTheIntendedType) {
    EXPECT_TRUE(Value().isNull());
    EXPECT_TRUE(Value(true).is<bool>());
    EXPECT_TRUE(Value(7u).is<std::int64_t>());
    EXPECT_TRUE(Value(0.5f).is<double>());
    EXPECT_TRUE(Value("text").is<std::string>()) << "a literal must not become a boolean";
    EXPECT_EQ(Value(7).number(), 7.0);
    EXPECT_EQ(Value(0.5f).number(), 0.5);
    EXPECT_EQ(Value(true).number(), std::nullopt);
    EXPECT_EQ(Value("x").text(), "x");
    EXPECT_EQ(Value(1).text(), std::nullopt);
}

TEST(Value, NestedContainersCompareByContent) {
    // The shape of a blend-shape table: group → (key path → weight).
    const auto table = [](double weight) {
        return Value(ValueDictionary{
            {"A", ValueDictionary{{"/Face.childNodes[0].morpher.weights[1]", weight}}}});
    };
    EXPECT_EQ(table(1.0), table(1.0));
    EXPECT_NE(table(1.0), table(0.5));
    const Value stored = table(1.0);
    const auto* groups = stored.as<ValueDictionary>();
    ASSERT_NE(groups, nullptr);
    const Value* group = findValue(*groups, "A");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->as<ValueDictionary>()->size(), 1u);
    EXPECT_EQ(findValue(*groups, "B"), nullptr);
}

TEST(Value, NodeReferencesAreWeakAndCompareByIdentity) {
    auto node = Node::create("Hips");
    const Value reference = Value::reference(node);
    EXPECT_EQ(reference, Value::reference(node));
    EXPECT_NE(reference, Value::reference(Node::create("Hips")));
    EXPECT_EQ(reference.node(), node);
    node.reset();
    EXPECT_EQ(reference.node(), nullptr);
    EXPECT_EQ(reference.shortDescription(), "node (gone)");
}

TEST(Value, OpaqueObjectsAreCheckedByTag) {
    struct Settings {
        int springs = 3;
    };
    const Value value(OpaqueObject{"PhysicsSettings", std::make_shared<Settings>()});
    const auto* object = value.as<OpaqueObject>();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->as<Settings>("PhysicsSettings")->springs, 3);
    EXPECT_EQ(object->as<Settings>("Other"), nullptr);
}

TEST(Value, ShortDescriptions) {
    EXPECT_EQ(Value().shortDescription(), "null");
    EXPECT_EQ(Value(0.1).shortDescription(), "0.1");
    EXPECT_EQ(Value(0.1f).shortDescription(), "0.10000000149011612")
        << "single-precision inputs show what they really hold";
    EXPECT_EQ(Value("Face").shortDescription(), "\"Face\"");
    EXPECT_EQ(Value(glm::dvec3(1, 2, 3)).shortDescription(), "(1, 2, 3)");
    EXPECT_EQ(Value(quaternionFromXYZW(0, 1, 0, 0)).shortDescription(), "quat (0, 1, 0, 0)");
    EXPECT_EQ(Value(Color{1, 0, 0, 1}).shortDescription(), "color (1, 0, 0, 1)");
    EXPECT_EQ(Value(ValueArray{1, 2, 3, 4, 5}).shortDescription(), "[1, 2, 3, 4, … 5 items]");
    EXPECT_EQ(Value(ValueDictionary{{"a", 1}}).shortDescription(), "{1 entries}");
    EXPECT_EQ(Value(1.0 / 0.0).shortDescription(), "inf");
    EXPECT_EQ(Value(ValueArray{}).typeName(), "array");
}

} // namespace
} // namespace scene
