#pragma once

#include <SceneGraph/Value.h>
#include <ostream>

namespace scene {

/// Lets failed expectations show values as text instead of raw bytes.
inline void PrintTo(const Value& value, std::ostream* out) {
    *out << value.shortDescription();
}

} // namespace scene
