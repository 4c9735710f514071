#pragma once

#include <SceneGraph/Color.h>
#include <SceneGraph/Transform.h>
#include <memory>
#include <string_view>
#include <variant>

namespace scene {

class Image;

enum class WrapMode { clamp = 1, repeat = 2, clampToBorder = 3, mirror = 4 };
enum class FilterMode { none = 0, nearest = 1, linear = 2 };

/// Which channels of an image a slot reads (a single one for packed metal/roughness maps).
enum class ColorComponents { red, green, blue, alpha, rgb, all };

std::string_view wrapModeName(WrapMode mode);
std::string_view filterModeName(FilterMode mode);
std::string_view colorComponentsName(ColorComponents components);

/// What a material slot shows: nothing, a colour, a number or an image.
using PropertyContents = std::variant<std::monostate, Color, double, std::shared_ptr<Image>>;

/// One slot of a material (diffuse, normal …) or a texture waiting to be copied into one.
/// A plain value: assigning one property to another copies contents and every setting, which
/// is how a loaded texture is put into a slot without the slot sharing later changes.
struct MaterialProperty {
    PropertyContents contents;
    double intensity = 1.0;
    /// Which texture-coordinate source (in source order) the image is mapped with.
    int mappingChannel = 0;
    ColorComponents textureComponents = ColorComponents::all;
    WrapMode wrapS = WrapMode::clamp;
    WrapMode wrapT = WrapMode::clamp;
    FilterMode minificationFilter = FilterMode::linear;
    FilterMode magnificationFilter = FilterMode::linear;
    FilterMode mipFilter = FilterMode::none;
    double maxAnisotropy = 1.0;
    /// Applied to texture coordinates (same matrix convention as node transforms).
    Matrix4 contentsTransform{1.0};

    static MaterialProperty withContents(PropertyContents contents) {
        MaterialProperty property;
        property.contents = std::move(contents);
        return property;
    }

    bool hasContents() const { return !std::holds_alternative<std::monostate>(contents); }
    void clearContents() { contents = std::monostate{}; }
    const Color* color() const { return std::get_if<Color>(&contents); }
    const double* number() const { return std::get_if<double>(&contents); }
    std::shared_ptr<Image> image() const;

    friend bool operator==(const MaterialProperty&, const MaterialProperty&) = default;
};

} // namespace scene
