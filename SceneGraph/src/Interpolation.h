#pragma once

#include <SceneGraph/Value.h>

namespace scene::detail {

/// The value `progress` (0 … 1) of the way from `from` to `to`: numbers, vectors and colours
/// linearly; quaternions, and 4-vectors (x, y, z, w) when `asRotation`, spherically along the
/// shorter arc. Values that cannot be blended (texts, different types …) hold `from`.
Value interpolate(const Value& from, const Value& to, double progress, bool asRotation);

/// The cubic Hermite curve from `from` (leaving with `outTangent`) to `to` (arriving with
/// `inTangent`) at `progress`; tangents are per unit of progress. Numbers and vectors follow
/// the curve, rotations too and are normalised; other values interpolate as `interpolate`.
Value hermite(const Value& from, const Value& outTangent, const Value& inTangent, const Value& to,
              double progress, bool asRotation);

} // namespace scene::detail
