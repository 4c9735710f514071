#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLTFAnimationChannelTarget {
    std::optional<std::int64_t> node;
    std::string path;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAnimationChannelTarget decode(const gltf::JsonObject& json);
};

struct GLTFAnimationChannel {
    std::int64_t sampler;
    GLTFAnimationChannelTarget target;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAnimationChannel decode(const gltf::JsonObject& json);
};

struct GLTFAnimationSampler {
    std::int64_t input;
    std::optional<std::string> _interpolation;
    std::int64_t output;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAnimationSampler decode(const gltf::JsonObject& json);
};

struct GLTFAnimation {
    std::vector<GLTFAnimationChannel> channels;
    std::vector<GLTFAnimationSampler> samplers;
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFAnimation decode(const gltf::JsonObject& json);
};
