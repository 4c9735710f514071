// Once a conversion is asked to stop, each real service it calls gives up instead of
// finishing its work.

#include "TestFolder.h"
#include "TriangleModel.h"

#include <Brightfold/SceneServices.h>
#include <SceneGraph/Scene.h>
#include <gtest/gtest.h>

namespace {

std::stop_token requestedStop() {
    static std::stop_source source;
    source.request_stop();
    return source.get_token();
}

TEST(StopRequests, ReaderImporterAndWriterGiveUp) {
    TestFolder folder;
    const auto model = folder.write("triangle.gltf", triangle);
    const auto services = brightfold::makeSceneServices(folder.path());

    const brightfold::SceneHandle scene = services->loadWithGLTFReader(model, {});
    ASSERT_TRUE(scene);
    EXPECT_THROW(services->loadWithGLTFReader(model, requestedStop()), std::exception);
    EXPECT_THROW(services->importModel(model, requestedStop()), std::exception);

    const auto package = folder.path() / "stopped.usdz";
    const brightfold::USDZWriteResult written =
        services->writeUSDZ(*scene, package, "Triangle", {}, {}, requestedStop());
    EXPECT_FALSE(written.succeeded);
    EXPECT_FALSE(std::filesystem::exists(package)) << "a stopped write leaves no file";
}

} // namespace
