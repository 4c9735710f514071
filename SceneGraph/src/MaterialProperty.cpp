#include "EnumNames.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialProperty.h>

namespace scene {

std::shared_ptr<Image> MaterialProperty::image() const {
    const auto* image = std::get_if<std::shared_ptr<Image>>(&contents);
    return image ? *image : nullptr;
}

std::string_view wrapModeName(WrapMode value) {
    static constexpr std::array<std::string_view, 4> names = {"clamp", "repeat", "clampToBorder",
                                                              "mirror"};
    return detail::enumName(names, value, 1);
}

std::string_view filterModeName(FilterMode value) {
    static constexpr std::array<std::string_view, 3> names = {"none", "nearest", "linear"};
    return detail::enumName(names, value);
}

std::string_view colorComponentsName(ColorComponents value) {
    static constexpr std::array<std::string_view, 6> names = {"red",   "green", "blue",
                                                              "alpha", "rgb",   "all"};
    return detail::enumName(names, value);
}

} // namespace scene
