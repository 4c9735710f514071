#include "DocumentRecords.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <limits>

namespace {

// Computed in single precision with this divisor, one step below single-precision pi, so that
// a vertical field of view of 1 radian reads 57.295784 degrees.
double degreesOf(float radians) {
    return static_cast<double>((radians * 180.0f) / 3.1415925f);
}

} // namespace

std::shared_ptr<scene::Camera> GLTFUnarchiver::loadCamera(std::int64_t index) {
    const auto record = [&]() -> const GLTFCamera& {
        return gltf::documentRecord(json_.cameras, index, "loadCamera: cameras is not defined");
    };
    return caches_.cameras.load(
        index, "loadCamera", [&] { return buildCamera(record()); },
        [&](const std::shared_ptr<scene::Camera>& camera) {
            gltf::onLoaded(record(), camera, *this);
        });
}

std::shared_ptr<scene::Camera> GLTFUnarchiver::buildCamera(const GLTFCamera& record) {
    const std::shared_ptr<scene::Camera> camera = scene::Camera::create();
    if (record.name) {
        camera->name = *record.name;
    }
    if (record.type == "perspective") {
        camera->usesOrthographicProjection = false;
        if (!record.perspective) {
            throw GLTFUnarchiveError::dataInconsistent("loadCamera: perspective is not defined");
        }
        const GLTFCameraPerspective& perspective = *record.perspective;
        camera->fieldOfView = degreesOf(perspective.yfov);
        camera->zNear = perspective.znear;
        camera->zFar = perspective.zfar.value_or(std::numeric_limits<float>::infinity());
        gltf::onLoaded(perspective, camera, *this);
    } else if (record.type == "orthographic") {
        camera->usesOrthographicProjection = true;
        if (!record.orthographic) {
            throw GLTFUnarchiveError::dataInconsistent("loadCamera: orthographic is not defined");
        }
        const GLTFCameraOrthographic& orthographic = *record.orthographic;
        camera->orthographicScale = orthographic.ymag;
        camera->zNear = orthographic.znear;
        camera->zFar = orthographic.zfar;
        gltf::onLoaded(orthographic, camera, *this);
    } else {
        throw GLTFUnarchiveError::notSupported("loadCamera: type " + record.type +
                                               " is not supported");
    }
    return camera;
}
