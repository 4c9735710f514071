#include "MaterialBuilder.h"

#include "QuickObjectFactory.h"

#include <QColor>
#include <QVector3D>
#include <QtQuick3D/QQuick3DTextureData>
#include <SceneGraph/Color.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <algorithm>

namespace brightfold::preview {
namespace {

const char* channelName(TextureChannel channel) {
    switch (channel) {
    case TextureChannel::green:
        return "G";
    case TextureChannel::blue:
        return "B";
    case TextureChannel::alpha:
        return "A";
    case TextureChannel::red:
        break;
    }
    return "R";
}

const char* tilingName(scene::WrapMode mode) {
    switch (mode) {
    case scene::WrapMode::repeat:
        return "Repeat";
    case scene::WrapMode::mirror:
        return "MirroredRepeat";
    case scene::WrapMode::clamp:
    case scene::WrapMode::clampToBorder:
        break;
    }
    return "ClampToEdge";
}

const char* filterName(scene::FilterMode mode) {
    switch (mode) {
    case scene::FilterMode::none:
        return "None";
    case scene::FilterMode::nearest:
        return "Nearest";
    case scene::FilterMode::linear:
        break;
    }
    return "Linear";
}

const char* alphaModeName(AlphaMode mode) {
    switch (mode) {
    case AlphaMode::blend:
        return "Blend";
    case AlphaMode::mask:
        return "Mask";
    case AlphaMode::opaque:
        break;
    }
    return "Opaque";
}

const char* cullModeName(FaceCulling culling) {
    switch (culling) {
    case FaceCulling::none:
        return "NoCulling";
    case FaceCulling::front:
        return "FrontFaceCulling";
    case FaceCulling::back:
        break;
    }
    return "BackFaceCulling";
}

QString imageLabel(const scene::Image& image) {
    return image.name().empty() ? QStringLiteral("A texture image")
                                : QStringLiteral("The texture image \"%1\"")
                                      .arg(QString::fromStdString(image.name()));
}

} // namespace

QColor srgbColorOf(const glm::vec4& linear) {
    const auto encoded = [](float value) {
        return std::clamp(scene::sRGBFromLinear(value), 0.0f, 1.0f);
    };
    return QColor::fromRgbF(encoded(linear.r), encoded(linear.g), encoded(linear.b),
                            std::clamp(linear.a, 0.0f, 1.0f));
}

MaterialBuilder::MaterialBuilder(QuickObjectFactory& factory, QQuick3DObject& owner,
                                 QStringList& problems,
                                 std::map<const scene::Image*, PreparedTexture>& decoded)
    : factory_(factory), owner_(owner), problems_(problems), decoded_(decoded) {}

QQuick3DObject* MaterialBuilder::materialFor(const std::shared_ptr<scene::Material>& material,
                                             bool mirrored) {
    QQuick3DObject*& built = materials_[{material.get(), mirrored}];
    if (!built) {
        MaterialDescription description =
            material ? describeMaterial(*material) : MaterialDescription{};
        if (mirrored) {
            description.culling = mirroredCulling(description.culling);
        }
        built = build(description);
    }
    return built;
}

QQuick3DObject* MaterialBuilder::build(const MaterialDescription& description) {
    QQuick3DObject* material =
        factory_.create(QuickObjectFactory::Kind::principledMaterial, owner_);
    material->setProperty("baseColor", srgbColorOf(description.baseColor));
    material->setProperty("metalness", description.metalness);
    material->setProperty("roughness", description.roughness);
    material->setProperty("occlusionAmount", description.occlusionAmount);
    material->setProperty("alphaCutoff", description.alphaCutoff);
    const glm::vec3& emissive = description.emissiveFactor;
    material->setProperty("emissiveFactor", QVector3D(emissive.r, emissive.g, emissive.b));
    setMap(*material, "baseColorMap", description.baseColorMap);
    setMap(*material, "metalnessMap", description.metalnessMap);
    setMap(*material, "roughnessMap", description.roughnessMap);
    setMap(*material, "normalMap", description.normalMap);
    setMap(*material, "occlusionMap", description.occlusionMap);
    setMap(*material, "emissiveMap", description.emissiveMap);
    setChannel(*material, "metalnessChannel", description.metalnessMap);
    setChannel(*material, "roughnessChannel", description.roughnessMap);
    setChannel(*material, "occlusionChannel", description.occlusionMap);
    setEnumProperty(*material, "alphaMode", alphaModeName(description.alphaMode));
    setEnumProperty(*material, "cullMode", cullModeName(description.culling));
    if (description.unlit) {
        setEnumProperty(*material, "lighting", "NoLighting");
    }
    return material;
}

void MaterialBuilder::setMap(QQuick3DObject& material, const char* property,
                             const std::optional<TextureDescription>& texture) {
    if (texture) {
        if (QQuick3DObject* map = textureFor(*texture)) {
            setObjectProperty(material, property, map);
        }
    }
}

void MaterialBuilder::setChannel(QQuick3DObject& material, const char* property,
                                 const std::optional<TextureDescription>& texture) {
    if (texture) {
        setEnumProperty(material, property, channelName(texture->channel));
    }
}

QQuick3DObject* MaterialBuilder::textureFor(const TextureDescription& description) {
    QQuick3DTextureData* pixels = pixelsFor(description.image);
    if (!pixels) {
        return nullptr;
    }
    QQuick3DObject* texture = factory_.create(QuickObjectFactory::Kind::texture, owner_);
    setObjectProperty(*texture, "textureData", pixels);
    texture->setProperty("indexUV", description.uvChannel);
    setEnumProperty(*texture, "tilingModeHorizontal", tilingName(description.wrapS));
    setEnumProperty(*texture, "tilingModeVertical", tilingName(description.wrapT));
    setEnumProperty(*texture, "minFilter", filterName(description.minification));
    setEnumProperty(*texture, "magFilter", filterName(description.magnification));
    setEnumProperty(*texture, "mipFilter", filterName(description.mip));
    texture->setProperty("generateMipmaps", description.mip != scene::FilterMode::none);
    return texture;
}

PreparedTexture MaterialBuilder::takeTexture(const scene::Image& image) {
    const auto found = decoded_.find(&image);
    if (found == decoded_.end()) {
        return prepareTexture(image);
    }
    PreparedTexture texture = std::move(found->second);
    decoded_.erase(found);
    return texture;
}

QQuick3DTextureData* MaterialBuilder::pixelsFor(const std::shared_ptr<scene::Image>& image) {
    const auto known = pixels_.find(image.get());
    if (known != pixels_.end()) {
        return known->second;
    }
    QQuick3DTextureData* pixels = nullptr;
    const PreparedTexture texture = takeTexture(*image);
    if (texture.decoded) {
        pixels = new QQuick3DTextureData(&owner_);
        pixels->setParent(&owner_);
        pixels->setSize(texture.pixels.size);
        pixels->setFormat(QQuick3DTextureData::RGBA8);
        pixels->setHasTransparency(texture.pixels.hasTransparency);
        pixels->setTextureData(texture.pixels.rgba);
    } else {
        problems_ << QStringLiteral("%1 could not be decoded and is not shown (%2).")
                         .arg(imageLabel(*image), texture.error);
    }
    pixels_[image.get()] = pixels;
    return pixels;
}

} // namespace brightfold::preview
