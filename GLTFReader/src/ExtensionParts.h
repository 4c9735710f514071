#pragma once

#include <functional>
#include <string>

class GLTFUnarchiver;

namespace gltf {

// Applies one part of a material extension (a colour, a texture). A part the file gets wrong
// is left out with a warning naming it, so that the rest of the material and of the scene still
// load; returns whether the part was applied. Only the reader's own failures and unreadable
// files are caught.
bool applyOrLeaveOut(GLTFUnarchiver& unarchiver, const std::string& part,
                     const std::function<void()>& apply);

} // namespace gltf
