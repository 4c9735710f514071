#pragma once

// Sparse accessors: a base array in which a few elements are replaced by values stored apart.

#include "ElementPlacement.h"

#include <GLTFReader/ByteSlice.h>
#include <cstddef>
#include <cstdint>
#include <string_view>

class GLTFUnarchiver;
struct GLTFAccessor;

namespace gltf {

// The accessor's base elements, placed in `base` as `placement` says (all of them inside it),
// packed one after another in a new block, with those the accessor's sparse indices name
// replaced by its sparse values. `accessor.sparse` is present. Sparse indices or
// values outside their views, and indices not below the element count, are refused with
// DataInconsistent, naming `operationName`.
ByteSlice withSparseValues(GLTFUnarchiver& unarchiver, const GLTFAccessor& accessor,
                           const ByteSlice& base, const ElementPlacement& placement,
                           std::string_view operationName);

} // namespace gltf
