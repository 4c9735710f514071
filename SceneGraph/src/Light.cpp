#include "EnumNames.h"

#include <SceneGraph/Light.h>

namespace scene {

std::string_view lightTypeName(LightType type) {
    static constexpr std::array<std::string_view, 3> names = {"directional", "point", "spot"};
    return detail::enumName(names, type);
}

} // namespace scene
