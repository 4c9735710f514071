#pragma once

#include <SceneGraph/Value.h>

namespace scene::detail {

/// The value `progress` (0 … 1) of the way from `from` to `to`: numbers, vectors and colours
/// linearly; quaternions, and 4-vectors (x, y, z, w) when `asRotation`, spherically along the
/// shorter arc. Values that cannot be blended (texts, different types …) hold `from`.
Value interpolate(const Value& from, const Value& to, double progress, bool asRotation);

} // namespace scene::detail
