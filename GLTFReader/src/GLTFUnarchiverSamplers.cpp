// Samplers: the glTF filter and wrap codes (OpenGL constants) as material-property settings.
// Samplers are not cached; each use reads the record again.
#include <GLTFReader/GLTFUnarchiver.h>
#include <string>
#include <utility>

namespace {

using scene::FilterMode;
using scene::WrapMode;

enum SamplerCode : std::int64_t {
    nearest = 9728,
    linear = 9729,
    nearestMipmapNearest = 9984,
    linearMipmapNearest = 9985,
    nearestMipmapLinear = 9986,
    linearMipmapLinear = 9987,
    clampToEdge = 33071,
    mirroredRepeat = 33648,
    repeat = 10497,
};

[[noreturn]] void refuseCode(const char* field, std::int64_t code) {
    throw GLTFUnarchiveError::notSupported("setSampler: " + std::string(field) + " " +
                                           std::to_string(code) + " is not supported");
}

FilterMode magnificationFilterFor(std::int64_t code) {
    switch (code) {
    case nearest:
        return FilterMode::nearest;
    case linear:
        return FilterMode::linear;
    default:
        refuseCode("magFilter", code);
    }
}

// The minification filter and the mip filter.
std::pair<FilterMode, FilterMode> minificationFiltersFor(std::int64_t code) {
    switch (code) {
    case nearest:
        return {FilterMode::nearest, FilterMode::none};
    case linear:
        return {FilterMode::linear, FilterMode::none};
    case nearestMipmapNearest:
        return {FilterMode::nearest, FilterMode::nearest};
    case linearMipmapNearest:
        return {FilterMode::linear, FilterMode::nearest};
    case nearestMipmapLinear:
        return {FilterMode::nearest, FilterMode::linear};
    case linearMipmapLinear:
        return {FilterMode::linear, FilterMode::linear};
    default:
        refuseCode("minFilter", code);
    }
}

WrapMode wrapModeFor(const char* field, std::optional<std::int64_t> code) {
    switch (code.value_or(repeat)) {
    case clampToEdge:
        return WrapMode::clamp;
    case mirroredRepeat:
        return WrapMode::mirror;
    case repeat:
        return WrapMode::repeat;
    default:
        refuseCode(field, *code);
    }
}

const GLTFSampler& samplerAt(const std::optional<std::vector<GLTFSampler>>& samplers,
                             std::int64_t index) {
    if (!samplers) {
        throw GLTFUnarchiveError::dataInconsistent("setSampler: samplers is not defined");
    }
    if (index < 0 || static_cast<std::uint64_t>(index) >= samplers->size()) {
        throw GLTFUnarchiveError::dataInconsistent(
            gltf::outOfIndexMessage("setSampler", index, samplers->size()));
    }
    return (*samplers)[static_cast<std::size_t>(index)];
}

} // namespace

// Settings are applied in order and the first unknown code stops it; those before it stay.
void GLTFUnarchiver::setSampler(std::int64_t samplerIndex, scene::MaterialProperty& property) {
    const GLTFSampler& sampler = samplerAt(json_.samplers, samplerIndex);
    if (sampler.magFilter) {
        property.magnificationFilter = magnificationFilterFor(*sampler.magFilter);
    }
    if (sampler.minFilter) {
        std::tie(property.minificationFilter, property.mipFilter) =
            minificationFiltersFor(*sampler.minFilter);
    }
    property.wrapS = wrapModeFor("wrapS", sampler._wrapS);
    property.wrapT = wrapModeFor("wrapT", sampler._wrapT);
}
