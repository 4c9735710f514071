#pragma once

#include <Brightfold/ForwardingServices.h>

namespace brightfold::ui {

// The conversion services of the app: a package read back for the preview is also made ready
// to be shown (textures decoded, vertex and index buffers packed) on the conversion's thread,
// so that the window's thread, which draws the screens meanwhile, only has to create the 3D
// objects once the preview is announced.
class PreviewPreparingServices : public ForwardingServices {
  public:
    using ForwardingServices::ForwardingServices;

    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& warnings) override;
};

} // namespace brightfold::ui
