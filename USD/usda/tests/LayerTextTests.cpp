#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/usda/UsdaWriter.h>
#include <gmock/gmock.h>

namespace usd {
namespace {

using ::testing::HasSubstr;

Path path(const char* text) {
    return Path::fromString(text);
}

TEST(UsdaWriter, WritesAMaterialBoundMeshTheWayTextFilesLook) {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("defaultPrim", Token{"Root"});
    build.setLayerMetadata("metersPerUnit", 1.0);
    build.setLayerMetadata("documentation", std::string("made in a test"));
    build.definePrim(path("/Root"), "Xform");
    build.definePrim(path("/Root/Mesh"), "Mesh");
    build.setMetadata(path("/Root/Mesh"), field::kApiSchemas,
                      TokenListOp::makePrepended({Token{"MaterialBindingAPI"}}));
    build.addAttribute(path("/Root/Mesh"), "points",
                       {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
    const Path normals =
        build.addAttribute(path("/Root/Mesh"), "normals", {"normal3f[]", Array<Vec3f>{}});
    build.setMetadata(normals, "interpolation", Token{"vertex"});
    build.addAttribute(path("/Root/Mesh"), "subdivisionScheme",
                       {"token", Token{"none"}, Variability::Uniform});
    build.addRelationship(path("/Root/Mesh"), "material:binding", {path("/Root/Mat")});
    build.definePrim(path("/Root/Mat"), "Material");
    const Path surface = build.addAttribute(path("/Root/Mat"), "outputs:surface", {"token", {}});
    build.setConnections(surface, {path("/Root/Mat/Shader.outputs:surface")});
    const Path scale = build.addAttribute(path("/Root"), "scale", {"float3", {}});
    build.setTimeSamples(scale, {{0, 1}, {Vec3f{1, 1, 1}, Vec3f{2, 2, 2}}});

    EXPECT_EQ(toUsda(layer), R"(#usda 1.0
(
    defaultPrim = "Root"
    doc = "made in a test"
    metersPerUnit = 1
)
def Xform "Root"
{
    float3 scale.timeSamples = {
        0: (1, 1, 1),
        1: (2, 2, 2),
    }
    def Mesh "Mesh"
    (
        prepend apiSchemas = ["MaterialBindingAPI"]
    )
    {
        point3f[] points = [(0, 0, 0), (1, 0, 0), (0, 1, 0)]
        normal3f[] normals = []
        (
            interpolation = "vertex"
        )
        uniform token subdivisionScheme = "none"
        rel material:binding = [</Root/Mat>]
    }
    def Material "Mat"
    {
        token outputs:surface.connect = [</Root/Mat/Shader.outputs:surface>]
    }
}
)");
}

// A dump must show what a broken layer really holds, not what USD would see.
TEST(UsdaWriter, ShowsSpecsTheChildrenFieldsMissAndNamesWithoutSpecs) {
    Layer layer;
    LayerBuilder build(layer);
    build.definePrim(path("/Listed"));
    layer.createSpec(path("/Hidden"), SpecType::Prim);
    layer.pseudoRoot()
        .fields[std::string(field::kPrimChildren)]
        .get<TokenVector>()
        ->items.push_back(Token{"Ghost"});

    const std::string text = toUsda(layer);
    EXPECT_THAT(text, HasSubstr("def \"Listed\""));
    EXPECT_THAT(text, HasSubstr("# primChildren lists \"Ghost\", which has no spec"));
    EXPECT_THAT(text, HasSubstr("# not listed in primChildren, so USD ignores:\n\"Hidden\""));
}

TEST(UsdaWriter, WritesVariantSetsWithTheirVariants) {
    Layer layer;
    LayerBuilder build(layer);
    build.definePrim(path("/Ball"), "Sphere");
    build.setMetadata(path("/Ball"), field::kVariantSetChildren, TokenVector{{Token{"shade"}}});
    build.setMetadata(path("/Ball"), "variantSelection", VariantSelectionMap{{"shade", "red"}});
    layer.createSpec(path("/Ball{shade=}"), SpecType::VariantSet)
        .setField(std::string(field::kVariantChildren), TokenVector{{Token{"red"}}});
    layer.createSpec(path("/Ball{shade=red}"), SpecType::Variant);
    layer.createSpec(path("/Ball{shade=blue}"), SpecType::Variant);
    build.addAttribute(path("/Ball{shade=red}"), "radius", {"double", 2.0});

    EXPECT_EQ(toUsda(layer), R"(#usda 1.0
def Sphere "Ball"
(
    variantSelection = {
        string shade = "red"
    }
)
{
    variantSet "shade" = {
        "shade=red"
        {
            double radius = 2
        }
        # not listed in variantChildren, so USD ignores:
        "shade=blue"
        {
        }
    }
}
)");
}

} // namespace
} // namespace usd
