#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <optional>
#include <string>

struct GLTFCameraOrthographic {
    float xmag;
    float ymag;
    float zfar;
    float znear;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFCameraOrthographic decode(const gltf::JsonObject& json);
};

struct GLTFCameraPerspective {
    std::optional<float> aspectRatio;
    float yfov;
    std::optional<float> zfar;
    float znear;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFCameraPerspective decode(const gltf::JsonObject& json);
};

struct GLTFCamera {
    std::optional<GLTFCameraOrthographic> orthographic;
    std::optional<GLTFCameraPerspective> perspective;
    std::string type;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFCamera decode(const gltf::JsonObject& json);
};
