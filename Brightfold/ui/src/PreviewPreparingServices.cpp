#include <Brightfold/Preview/ScenePreparation.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>

namespace brightfold::ui {

SceneHandle PreviewPreparingServices::readUSDZ(const std::filesystem::path& file,
                                               std::vector<std::string>& warnings) {
    SceneHandle scene = ForwardingServices::readUSDZ(file, warnings);
    preview::prepareForPreview(scene);
    return scene;
}

} // namespace brightfold::ui
