#include <USD/layer/Path.h>
#include <gtest/gtest.h>

using usd::Path;
using usd::PathError;

TEST(Path, ParsesEveryKindOfElementAndRoundTripsTheText) {
    for (const char* text :
         {"/", "/World", "/World/Mesh", "/World/Mesh.points", "/World.primvars:st",
          "/World{shading=red}", "/World{shading=}", "/World{shading=red}/Looks",
          "/World{shading=red}.color", "/World{a=x}{b=y}", "/Wörld/_9"}) {
        EXPECT_EQ(Path::fromString(text).text(), text);
    }
}

TEST(Path, RejectsMalformedText) {
    for (const char* text :
         {"", "World", "//", "/World/", "/World.", "/9lives", "/A.b.c", "/A.b/C", "/A{set}",
          "/A{=x}", "/A{set=x", "/A/B c", "/A.b{s=v}", "/A{s=}/B", "/A}x"}) {
        EXPECT_THROW(Path::fromString(text), PathError) << text;
    }
}

TEST(Path, ParentNameAndPrimPathWalkUpTheTree) {
    const Path property = Path::fromString("/World{shading=red}/Looks.inputs:file");
    EXPECT_TRUE(property.isPropertyPath());
    EXPECT_EQ(property.name(), "inputs:file");
    EXPECT_EQ(property.primPath().text(), "/World{shading=red}/Looks");

    const Path looks = property.parent();
    EXPECT_TRUE(looks.isPrimPath());
    EXPECT_EQ(looks.name(), "Looks");

    const Path variant = looks.parent();
    EXPECT_TRUE(variant.isVariantSelectionPath());
    EXPECT_EQ(variant.name(), "shading=red");
    EXPECT_EQ(variant.parent().text(), "/World");
    EXPECT_TRUE(variant.parent().parent().isAbsoluteRoot());
    EXPECT_TRUE(Path::absoluteRoot().parent().isEmpty());
    EXPECT_TRUE(Path().parent().isEmpty());
}

TEST(Path, AppendsOnlyWhereTheElementCanFollow) {
    const Path root = Path::absoluteRoot();
    const Path world = root.appendChild("World");
    EXPECT_EQ(world.appendProperty("xformOp:transform").text(), "/World.xformOp:transform");
    EXPECT_EQ(world.appendVariantSelection("lod", "0").text(), "/World{lod=0}");

    EXPECT_THROW((void)root.appendProperty("size"), PathError);
    EXPECT_THROW((void)world.appendProperty("size").appendChild("X"), PathError);
    EXPECT_THROW((void)world.appendVariantSelection("lod", "").appendChild("X"), PathError);
    EXPECT_THROW((void)world.appendChild("has space"), PathError);
    EXPECT_THROW((void)world.appendProperty("ns::double"), PathError);
    EXPECT_THROW((void)Path().appendChild("X"), PathError);
}
