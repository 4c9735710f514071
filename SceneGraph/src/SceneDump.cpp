#include "NumberFormatting.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Camera.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Light.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/SceneDump.h>
#include <SceneGraph/Skinner.h>

namespace scene {
namespace {

using detail::formatComponents;
using detail::formatNumber;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string yesNo(bool flag) {
    return flag ? "yes" : "no";
}

std::string countOf(std::size_t count, std::string_view singular) {
    return std::to_string(count) + " " + std::string(singular) + (count == 1 ? "" : "s");
}

std::string componentTypeText(const SourceLayout& layout) {
    const std::string bits = std::to_string(8 * layout.bytesPerComponent);
    if (layout.usesFloatComponents) {
        return "float" + bits;
    }
    return (layout.signedComponents ? "int" : "uint") + bits;
}

std::string contentsText(const PropertyContents& contents) {
    if (const auto* color = std::get_if<Color>(&contents)) {
        return "color " +
               formatComponents(glm::dvec4(color->red, color->green, color->blue, color->alpha), 4);
    }
    if (const auto* number = std::get_if<double>(&contents)) {
        return "number " + formatNumber(*number);
    }
    if (const auto* image = std::get_if<std::shared_ptr<Image>>(&contents)) {
        return "image " + std::to_string((*image)->width()) + "x" +
               std::to_string((*image)->height()) + " " +
               std::string(imageFormatName((*image)->format()));
    }
    return "none";
}

std::string propertyText(const MaterialProperty& property) {
    return contentsText(property.contents) + ", intensity " + formatNumber(property.intensity) +
           ", channel " + std::to_string(property.mappingChannel) + ", components " +
           std::string(colorComponentsName(property.textureComponents)) + ", wrap " +
           std::string(wrapModeName(property.wrapS)) + "/" +
           std::string(wrapModeName(property.wrapT)) + ", filters " +
           std::string(filterModeName(property.minificationFilter)) + "/" +
           std::string(filterModeName(property.magnificationFilter)) + "/" +
           std::string(filterModeName(property.mipFilter));
}

std::string transformText(const Node& node) {
    if (node.hasMatrixTransform()) {
        std::string text = "transform: matrix";
        const Matrix4 matrix = node.transform();
        for (int row = 0; row < 4; ++row) {
            text += " " + formatComponents(matrix[row], 4);
        }
        return node.isTransformDecomposable() ? text : text + " (not decomposable)";
    }
    return "transform: position " + formatComponents(node.position(), 3) + " orientation " +
           formatComponents(xyzwOf(node.orientation()), 4) + " scale " +
           formatComponents(node.scale(), 3);
}

std::string cameraText(const Camera& camera) {
    const std::string projection =
        camera.usesOrthographicProjection
            ? "orthographic, scale " + formatNumber(camera.orthographicScale)
            : "perspective, fieldOfView " + formatNumber(camera.fieldOfView);
    return "camera " + quoted(camera.name) + ": " + projection + ", zNear " +
           formatNumber(camera.zNear) + ", zFar " + formatNumber(camera.zFar);
}

std::string lightText(const Light& light) {
    std::string text =
        "light " + quoted(light.name) + ": " + std::string(lightTypeName(light.type)) + ", color " +
        formatComponents(glm::dvec3(light.color.red, light.color.green, light.color.blue), 3) +
        ", intensity " + formatNumber(light.intensity);
    if (light.range) {
        text += ", range " + formatNumber(*light.range);
    }
    if (light.type == LightType::spot) {
        text += ", cone " + formatNumber(light.innerConeAngle) + "/" +
                formatNumber(light.outerConeAngle);
    }
    return text;
}

std::string nodeName(const std::shared_ptr<Node>& node) {
    return node ? quoted(node->name()) : "(gone)";
}

class Dumper {
  public:
    std::string text() && { return std::move(text_); }

    void scene(const Scene& scene) {
        line(0, "Scene");
        line(1, "background: " + contentsText(scene.background().contents));
        values(scene.values(), 1);
        hierarchy(*scene.rootNode());
    }

    void hierarchy(const Node& top) {
        std::vector<std::pair<const Node*, int>> pending{{&top, 0}};
        while (!pending.empty()) {
            const auto [node, depth] = pending.back();
            pending.pop_back();
            this->node(*node, depth);
            const auto& children = node->childNodes();
            for (auto child = children.rbegin(); child != children.rend(); ++child) {
                pending.emplace_back(child->get(), depth + 1);
            }
        }
    }

  private:
    void line(int depth, const std::string& content) {
        text_.append(static_cast<std::size_t>(depth) * 2, ' ');
        text_ += content;
        text_ += '\n';
    }

    void values(const ValueDictionary& entries, int depth) {
        for (const auto& [key, value] : entries) {
            line(depth, "value " + key + " = " + value.shortDescription());
        }
    }

    void node(const Node& node, int depth) {
        line(depth, "Node " + quoted(node.name()));
        const int inner = depth + 1;
        line(inner, transformText(node));
        if (node.renderingOrder() != 0) {
            line(inner, "renderingOrder: " + std::to_string(node.renderingOrder()));
        }
        if (node.camera()) {
            line(inner, cameraText(*node.camera()));
        }
        if (node.light()) {
            line(inner, lightText(*node.light()));
        }
        if (node.geometry()) {
            geometry("geometry", *node.geometry(), inner);
        }
        if (node.morpher()) {
            morpher(*node.morpher(), inner);
        }
        if (node.skinner()) {
            skinner(*node.skinner(), inner);
        }
        values(node.values(), inner);
        for (const auto& entry : node.animations()) {
            animation("animation " + quoted(entry.key) + ": ", *entry.animation, inner);
        }
    }

    void geometry(const std::string& label, const Geometry& geometry, int depth) {
        line(depth, label + " " + quoted(geometry.name()) + ": " +
                        countOf(geometry.sources().size(), "source") + ", " +
                        countOf(geometry.elements().size(), "element") + ", " +
                        countOf(geometry.materials().size(), "material"));
        for (const auto& source : geometry.sources()) {
            const auto& layout = source->layout();
            line(depth + 1, "source " + std::string(semanticName(source->semantic())) + ": " +
                                std::to_string(layout.vectorCount) + " x " +
                                std::to_string(layout.componentsPerVector) + " " +
                                componentTypeText(layout) + ", offset " +
                                std::to_string(layout.dataOffset) + ", stride " +
                                std::to_string(layout.dataStride));
        }
        for (const auto& element : geometry.elements()) {
            line(depth + 1, "element " + std::string(primitiveTypeName(element->primitiveType())) +
                                ": " + std::to_string(element->primitiveCount()) + " primitives, " +
                                std::to_string(element->bytesPerIndex()) +
                                "-byte indices, offset " + std::to_string(element->dataOffset()));
        }
        for (const auto& material : geometry.materials()) {
            this->material(*material, depth + 1);
        }
    }

    void material(const Material& material, int depth) {
        line(depth, "material " + quoted(material.name) + ": " +
                        std::string(lightingModelName(material.lightingModel)) + ", doubleSided " +
                        yesNo(material.doubleSided) + ", cull " +
                        std::string(cullModeName(material.cullMode)) + ", blend " +
                        std::string(blendModeName(material.blendMode)) + ", writesDepth " +
                        yesNo(material.writesToDepthBuffer) + ", readsDepth " +
                        yesNo(material.readsFromDepthBuffer) + ", transparency " +
                        formatNumber(material.transparency) + ", shininess " +
                        formatNumber(material.shininess));
        for (std::size_t index = 0; index < materialSlotCount; ++index) {
            const auto slot = static_cast<MaterialSlot>(index);
            if (material.property(slot).hasContents()) {
                line(depth + 1, std::string(materialSlotName(slot)) + ": " +
                                    propertyText(material.property(slot)));
            }
        }
        for (const auto& [entryPoint, source] : material.shaderModifiers) {
            line(depth + 1, "shaderModifier " + std::string(shaderEntryPointName(entryPoint)) +
                                ": " + countOf(source.size(), "character"));
        }
        values(material.namedValues, depth + 1);
    }

    void morpher(const Morpher& morpher, int depth) {
        const auto& weights = morpher.weights();
        std::string weightText;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            weightText += (i == 0 ? "" : ", ") + formatNumber(weights[i]);
        }
        line(depth,
             std::string("morpher: ") +
                 (morpher.calculationMode() == MorpherCalculationMode::additive ? "additive"
                                                                                : "normalized") +
                 ", " + countOf(morpher.targets().size(), "target") + ", weights (" + weightText +
                 ")");
        for (const auto& target : morpher.targets()) {
            geometry("target", *target, depth + 1);
        }
    }

    void skinner(const Skinner& skinner, int depth) {
        std::string boneNames;
        for (const auto& bone : skinner.bones()) {
            boneNames += (boneNames.empty() ? "" : ", ") + nodeName(bone);
        }
        const auto& inverseBinds = skinner.boneInverseBindTransforms();
        line(depth,
             "skinner: " + countOf(skinner.boneCount(), "bone") + " (" + boneNames + "), " +
                 (inverseBinds ? countOf(inverseBinds->size(), "inverse bind transform")
                               : std::string("no inverse bind transforms")) +
                 ", skeleton " + (skinner.skeleton() ? nodeName(skinner.skeleton()) : "none") +
                 ", weights " + std::to_string(skinner.boneWeights()->componentsPerVector()) +
                 " per vertex");
    }

    void animation(const std::string& label, const Animation& animation, int depth) {
        const std::string timing = "duration " + formatNumber(animation.duration) + ", repeat " +
                                   formatNumber(animation.repeatCount);
        if (const auto* keyframes = dynamic_cast<const KeyframeAnimation*>(&animation)) {
            line(depth, label + "keyframes " + quoted(keyframes->keyPath) + ", " +
                            countOf(keyframes->values.size(), "value") + ", " +
                            countOf(keyframes->keyTimes.size(), "key time") + ", " + timing);
            return;
        }
        const auto& group = dynamic_cast<const AnimationGroup&>(animation);
        line(depth,
             label + "group, " + countOf(group.animations.size(), "animation") + ", " + timing);
        for (const auto& member : group.animations) {
            this->animation("", *member, depth + 1);
        }
    }

    std::string text_;
};

} // namespace

std::string dumpScene(const Scene& scene) {
    Dumper dumper;
    dumper.scene(scene);
    return std::move(dumper).text();
}

std::string dumpNode(const Node& node) {
    Dumper dumper;
    dumper.hierarchy(node);
    return std::move(dumper).text();
}

} // namespace scene
