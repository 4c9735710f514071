#include <Brightfold/Preview/ScenePreparation.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>

namespace brightfold::ui {

SceneHandle PreviewPreparingServices::loadWithGLTFReader(const std::filesystem::path& file,
                                                         std::stop_token stop) {
    SceneHandle scene = ForwardingServices::loadWithGLTFReader(file, stop);
    preview::decodeImagesAhead(scene);
    return scene;
}

SceneHandle PreviewPreparingServices::importModel(const std::filesystem::path& file,
                                                  std::stop_token stop) {
    SceneHandle scene = ForwardingServices::importModel(file, stop);
    preview::decodeImagesAhead(scene);
    return scene;
}

SceneHandle PreviewPreparingServices::readUSDZ(const std::filesystem::path& file,
                                               std::vector<std::string>& notes) {
    SceneHandle scene = ForwardingServices::readUSDZ(file, notes);
    preview::prepareForPreview(scene);
    return scene;
}

} // namespace brightfold::ui
