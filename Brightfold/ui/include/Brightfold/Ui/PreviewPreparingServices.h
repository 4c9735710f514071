#pragma once

#include <Brightfold/ForwardingServices.h>

namespace brightfold::ui {

// The conversion services of the app: a package read back for the preview is also made ready
// to be shown (textures decoded, vertex and index buffers packed) on the conversion's thread,
// so that the window's thread, which draws the screens meanwhile, only has to create the 3D
// objects once the preview is announced. The source's images start decoding as soon as it is
// loaded, beside the writing, for the package that keeps them unchanged.
class PreviewPreparingServices : public ForwardingServices {
  public:
    using ForwardingServices::ForwardingServices;

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override;
    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override;
    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& notes) override;
};

} // namespace brightfold::ui
