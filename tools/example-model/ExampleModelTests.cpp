// The example model is what a first run converts: it must be a file our reader takes whole.
#include "ExampleModel.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<scene::Geometry> geometryBelow(const scene::Node& node) {
    if (node.geometry()) {
        return node.geometry();
    }
    for (const auto& child : node.childNodes()) {
        if (auto geometry = geometryBelow(*child)) {
            return geometry;
        }
    }
    return nullptr;
}

TEST(ExampleModel, LoadsAsATexturedCubeOnASlab) {
    GLTFSceneSource source(scene::makeBytes(brightfold::example::makeExampleGLB()));
    const auto scene = source.sceneWithOptions();
    for (const char* name : {"Cube", "Slab"}) {
        SCOPED_TRACE(name);
        const auto node = scene->rootNode()->childNodeWithName(name, true);
        ASSERT_NE(node, nullptr);
        const auto geometry = geometryBelow(*node);
        ASSERT_NE(geometry, nullptr);
        const auto positions = geometry->sourcesForSemantic(scene::GeometrySemantic::vertex);
        ASSERT_EQ(positions.size(), 1u);
        EXPECT_EQ(positions[0]->vectorCount(), 24u);
        ASSERT_EQ(geometry->elements().size(), 1u);
        EXPECT_EQ(geometry->elements()[0]->primitiveCount(), 12u);
    }
    const auto cube = geometryBelow(*scene->rootNode()->childNodeWithName("Cube", true));
    ASSERT_EQ(cube->materials().size(), 1u);
    EXPECT_NE(cube->materials()[0]->diffuse().image(), nullptr);
}

} // namespace
