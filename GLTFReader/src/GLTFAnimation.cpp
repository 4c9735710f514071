#include <GLTFReader/GLTFAnimation.h>
#include <GLTFReader/JsonDecoder.h>

GLTFAnimationChannelTarget GLTFAnimationChannelTarget::decode(const gltf::JsonObject& json) {
    return {
        .node = json.optional<std::int64_t>("node"),
        .path = json.required<std::string>("path"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAnimationChannel GLTFAnimationChannel::decode(const gltf::JsonObject& json) {
    return {
        .sampler = json.required<std::int64_t>("sampler"),
        .target = json.required<GLTFAnimationChannelTarget>("target"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAnimationSampler GLTFAnimationSampler::decode(const gltf::JsonObject& json) {
    return {
        .input = json.required<std::int64_t>("input"),
        ._interpolation = json.optional<std::string>("interpolation"),
        .output = json.required<std::int64_t>("output"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAnimation GLTFAnimation::decode(const gltf::JsonObject& json) {
    return {
        .channels = json.required<std::vector<GLTFAnimationChannel>>("channels"),
        .samplers = json.required<std::vector<GLTFAnimationSampler>>("samplers"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
