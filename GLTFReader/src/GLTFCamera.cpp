#include <GLTFReader/GLTFCamera.h>
#include <GLTFReader/JsonDecoder.h>

GLTFCameraOrthographic GLTFCameraOrthographic::decode(const gltf::JsonObject& json) {
    return {
        .xmag = json.required<float>("xmag"),
        .ymag = json.required<float>("ymag"),
        .zfar = json.required<float>("zfar"),
        .znear = json.required<float>("znear"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFCameraPerspective GLTFCameraPerspective::decode(const gltf::JsonObject& json) {
    return {
        .aspectRatio = json.optional<float>("aspectRatio"),
        .yfov = json.required<float>("yfov"),
        .zfar = json.optional<float>("zfar"),
        .znear = json.required<float>("znear"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFCamera GLTFCamera::decode(const gltf::JsonObject& json) {
    return {
        .orthographic = json.optional<GLTFCameraOrthographic>("orthographic"),
        .perspective = json.optional<GLTFCameraPerspective>("perspective"),
        .type = json.required<std::string>("type"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
