#pragma once

#include "ComposedPrim.h"

#include <string>

namespace usd::reader {

// The name our writer kept in customData when the prim name had to differ from the scene's
// (an empty or invalid name), else the prim name.
std::string originalName(const ComposedPrim& prim);

} // namespace usd::reader
