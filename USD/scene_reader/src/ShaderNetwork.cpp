#include "ShaderNetwork.h"

#include "ReadLimits.h"
#include "ValueReading.h"

namespace usd::reader {
namespace {

constexpr std::string_view kOutputs = "outputs:";

} // namespace

std::string ShaderNetwork::shaderId(const ComposedPrim& shader) {
    return readText(shader.attributeValue("info:id")).value_or("");
}

std::optional<ShaderOutput> ShaderNetwork::surface(const ComposedPrim& material) const {
    std::vector<std::string> outputs{"outputs:surface"};
    for (const std::string& name : material.propertyNames()) {
        if (name.starts_with(kOutputs) && name.ends_with(":surface") && name != outputs.front()) {
            outputs.push_back(name);
        }
    }
    for (const std::string& output : outputs) {
        if (std::optional<ShaderOutput> shader = follow(material, output, 0).connected) {
            return shader;
        }
    }
    return std::nullopt;
}

InputSource ShaderNetwork::input(const ComposedPrim& shader, std::string_view name) const {
    return follow(shader, "inputs:" + std::string(name), 0);
}

InputSource ShaderNetwork::follow(const ComposedPrim& prim, const std::string& attribute,
                                  int hops) const {
    const std::vector<Path> sources = prim.connections(attribute);
    if (sources.empty()) {
        return {prim.attributeOpinion(attribute), std::nullopt};
    }
    if (hops >= kMaxConnectionHops) {
        notes_.push_back("The connection chain from " + prim.path().text() + "." + attribute +
                         " is too long or loops; the input is left unset.");
        return {};
    }
    const Path& target = sources.front();
    const ComposedPrim* source = stage_.prim(target.primPath());
    const std::string name(target.name());
    if (source == nullptr || !target.isPropertyPath()) {
        return {};
    }
    if (source->typeName() == "Shader") {
        if (!name.starts_with(kOutputs)) {
            return {};
        }
        return {{}, ShaderOutput{source, name.substr(kOutputs.size())}};
    }
    return follow(*source, name, hops + 1);
}

} // namespace usd::reader
