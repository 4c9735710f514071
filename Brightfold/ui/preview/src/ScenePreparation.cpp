#include "ImagesDecodedAhead.h"
#include "PreparedScene.h"
#include "PreparedSceneShelf.h"

#include <Brightfold/Preview/ScenePreparation.h>
#include <exception>

namespace brightfold::preview {

void decodeImagesAhead(const std::shared_ptr<const scene::Scene>& source) noexcept {
    try {
        keepDecodedAhead(source ? ImagesDecodedAhead(materialImagesOf(*source))
                                : ImagesDecodedAhead());
    } catch (const std::exception&) {
        keepDecodedAhead({}); // the images are decoded after the read-back instead
    }
}

void prepareForPreview(const std::shared_ptr<const scene::Scene>& scene) noexcept {
    if (!scene) {
        return;
    }
    try {
        shelvePreparedScene(
            scene, std::make_shared<PreparedScene>(prepareScene(*scene, takeDecodedAhead())));
    } catch (const std::exception&) {
        shelvePreparedScene(nullptr, nullptr); // the view prepares the scene itself
    }
}

} // namespace brightfold::preview
