#include "ShaderModifiers.h"

#include "EmbeddedShaderModifiers.h"

#include <map>
#include <stdexcept>
#include <string>

namespace gltf {
namespace {

std::map<std::string_view, std::string_view> indexByName() {
    std::map<std::string_view, std::string_view> texts;
    for (const detail::EmbeddedText& embedded : detail::embeddedShaderModifiers()) {
        texts.emplace(embedded.name, embedded.text);
    }
    return texts;
}

} // namespace

std::string_view shaderModifier(std::string_view name) {
    static const std::map<std::string_view, std::string_view> texts = indexByName();
    const auto found = texts.find(name);
    if (found == texts.end()) {
        throw std::logic_error("the reader carries no shader modifier named " + std::string(name));
    }
    return found->second;
}

} // namespace gltf
