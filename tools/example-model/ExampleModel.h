#pragma once

#include <cstdint>
#include <vector>

namespace brightfold::example {

// A small binary glTF of our own making for first runs and demonstrations: a bevel-free
// cube with a checkered base-colour texture, standing on a flat slab, each its own node.
std::vector<std::uint8_t> makeExampleGLB();

} // namespace brightfold::example
