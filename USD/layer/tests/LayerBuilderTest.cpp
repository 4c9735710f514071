#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <gtest/gtest.h>

using namespace usd;

namespace {

std::vector<Token> tokens(const Spec& spec, std::string_view field) {
    const Value* value = spec.field(field);
    return value && value->holds<TokenVector>() ? value->get<TokenVector>()->items
                                                : std::vector<Token>{};
}

Layer buildBoundMesh() {
    Layer layer;
    LayerBuilder builder(layer);
    builder.setLayerMetadata(field::kDefaultPrim, Token{"Root"});
    const Path root = builder.definePrim(Path::fromString("/Root"), "Xform");
    const Path mesh = builder.definePrim(root.appendChild("Mesh"), "Mesh");
    const Path material = builder.definePrim(root.appendChild("Mat"), "Material");
    builder.addAttribute(mesh, "points",
                         {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
    builder.addRelationship(mesh, "material:binding", {material});
    const Path surface = builder.addAttribute(material, "outputs:surface", {"token"});
    builder.setConnections(surface, {Path::fromString("/Root/Mat/S.outputs:surface")});
    return layer;
}

} // namespace

TEST(LayerBuilder, ListsEveryChildInItsParentAndAuthorsRequiredFields) {
    const Layer layer = buildBoundMesh();
    EXPECT_EQ(tokens(*layer.pseudoRoot(), field::kPrimChildren), std::vector<Token>{{"Root"}});
    const Spec* root = layer.spec(Path::fromString("/Root"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(tokens(*root, field::kPrimChildren), (std::vector<Token>{{"Mesh"}, {"Mat"}}));
    EXPECT_EQ(*root->field(field::kSpecifier), Value(Specifier::Def));

    const Spec* mesh = layer.spec(Path::fromString("/Root/Mesh"));
    EXPECT_EQ(tokens(*mesh, field::kProperties),
              (std::vector<Token>{{"points"}, {"material:binding"}}));

    const Spec* points = layer.spec(Path::fromString("/Root/Mesh.points"));
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->type, SpecType::Attribute);
    EXPECT_EQ(*points->field(field::kTypeName), Value(Token{"point3f[]"}));
    EXPECT_EQ(*points->field(field::kCustom), Value(false));
    EXPECT_EQ(*points->field(field::kVariability), Value(Variability::Varying));
    EXPECT_TRUE(points->field(field::kDefault)->holds<Array<Vec3f>>());

    const Spec* binding = layer.spec(Path::fromString("/Root/Mesh.material:binding"));
    EXPECT_EQ(*binding->field(field::kVariability), Value(Variability::Uniform));
    EXPECT_EQ(*binding->field(field::kTargetPaths),
              Value(PathListOp::makeExplicit({Path::fromString("/Root/Mat")})));

    const Spec* surface = layer.spec(Path::fromString("/Root/Mat.outputs:surface"));
    EXPECT_EQ(surface->field(field::kDefault), nullptr);
    EXPECT_TRUE(surface->field(field::kConnectionPaths)->holds<PathListOp>());
}

TEST(LayerBuilder, RedefiningKeepsChildListsFreeOfDuplicates) {
    Layer layer = buildBoundMesh();
    LayerBuilder builder(layer);
    builder.definePrim(Path::fromString("/Root"), "Scope");
    EXPECT_EQ(tokens(*layer.spec(Path::absoluteRoot()), field::kPrimChildren),
              std::vector<Token>{{"Root"}});
    EXPECT_EQ(*layer.spec(Path::fromString("/Root"))->field(field::kTypeName),
              Value(Token{"Scope"}));
}

TEST(LayerBuilder, RefusesMissingParentsAndLeavesTheLayerUnchanged) {
    Layer layer = buildBoundMesh();
    const Layer before = layer;
    LayerBuilder builder(layer);
    EXPECT_THROW(builder.definePrim(Path::fromString("/Nowhere/Child")), std::invalid_argument);
    EXPECT_THROW(builder.definePrim(Path::fromString("/Root.attr")), std::invalid_argument);
    EXPECT_THROW(builder.addAttribute(Path::fromString("/Nowhere"), "a", {"int"}),
                 std::invalid_argument);
    EXPECT_THROW(builder.addAttribute(Path::absoluteRoot(), "a", {"int"}), std::invalid_argument);
    EXPECT_THROW(builder.addAttribute(Path::fromString("/Root"), "bad name", {"int"}),
                 std::invalid_argument);
    EXPECT_THROW(builder.setTimeSamples(Path::fromString("/Root/Mesh.material:binding"), {}),
                 std::invalid_argument);
    EXPECT_THROW(builder.setTimeSamples(Path::fromString("/Root/Mesh.points"),
                                        {{1.0, 0.0}, {Value(1.0f), Value(2.0f)}}),
                 std::invalid_argument);
    EXPECT_THROW(builder.setMetadata(Path::fromString("/Nowhere"), "kind", Token{"group"}),
                 std::invalid_argument);
    EXPECT_EQ(layer, before);
}

TEST(LayerBuilder, VariantsAreListedByTheirSetAndTheSetByItsPrim) {
    Layer layer = buildBoundMesh();
    LayerBuilder builder(layer);
    const Path mesh = Path::fromString("/Root/Mesh");
    const Path red = builder.defineVariant(mesh, "look", "red");
    builder.defineVariant(mesh, "look", "blue");
    builder.defineVariant(mesh, "size", "big");
    EXPECT_EQ(red, Path::fromString("/Root/Mesh{look=red}"));
    builder.addRelationship(red, "material:binding", {Path::fromString("/Root/Mat")});
    builder.selectVariant(mesh, "look", "blue");
    builder.selectVariant(mesh, "size", "");

    const Spec& prim = *layer.spec(mesh);
    EXPECT_EQ(tokens(prim, field::kVariantSetChildren), (std::vector<Token>{{"look"}, {"size"}}));
    EXPECT_EQ(*prim.field(field::kVariantSetNames),
              Value(StringListOp::makePrepended({"look", "size"})));
    EXPECT_EQ(*prim.field(field::kVariantSelection),
              Value(VariantSelectionMap{{"look", "blue"}, {"size", ""}}));
    const Spec& set = *layer.spec(Path::fromString("/Root/Mesh{look=}"));
    EXPECT_EQ(set.type, SpecType::VariantSet);
    EXPECT_EQ(tokens(set, field::kVariantChildren), (std::vector<Token>{{"red"}, {"blue"}}));
    const Spec& variant = *layer.spec(red);
    EXPECT_EQ(variant.type, SpecType::Variant);
    EXPECT_EQ(variant.field(field::kSpecifier), nullptr);
    EXPECT_EQ(tokens(variant, field::kProperties), std::vector<Token>{{"material:binding"}});
    EXPECT_TRUE(layer.hasSpec(Path::fromString("/Root/Mesh{look=red}.material:binding")));

    const Layer before = layer;
    EXPECT_THROW(builder.defineVariant(mesh, "look", ""), std::invalid_argument);
    EXPECT_THROW(builder.defineVariant(mesh, "bad set", "a"), std::invalid_argument);
    EXPECT_THROW(builder.defineVariant(Path::fromString("/Nowhere"), "look", "a"),
                 std::invalid_argument);
    EXPECT_THROW(builder.defineVariant(Path::absoluteRoot(), "look", "a"), std::invalid_argument);
    EXPECT_THROW(builder.selectVariant(mesh, "look", "green"), std::invalid_argument);
    EXPECT_THROW(builder.selectVariant(mesh, "colour", ""), std::invalid_argument);
    EXPECT_EQ(layer, before);
}

TEST(Layer, EqualityIgnoresCreationOrderButNotContent) {
    Layer a;
    a.createSpec(Path::fromString("/B"), SpecType::Prim);
    a.createSpec(Path::fromString("/A"), SpecType::Prim).setField("kind", Token{"group"});
    Layer b;
    b.createSpec(Path::fromString("/A"), SpecType::Prim).setField("kind", Token{"group"});
    b.createSpec(Path::fromString("/B"), SpecType::Prim);
    EXPECT_EQ(a, b);

    b.spec(Path::fromString("/B"))->setField("active", false);
    EXPECT_NE(a, b);
    EXPECT_THROW(a.createSpec(Path::fromString("/A"), SpecType::Attribute), std::invalid_argument);
    EXPECT_THROW(a.createSpec(Path(), SpecType::Prim), std::invalid_argument);
}
