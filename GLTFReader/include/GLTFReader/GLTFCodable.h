#pragma once

#include <any>

class GLTFUnarchiver;

// The scene object a loader has just built from a record (a material, a node, a scene, the
// loaded bytes …), held as the std::shared_ptr the loader keeps. Hooks test its type with
// std::any_cast and leave objects of other kinds alone.
using GLTFLoadedObject = std::any;

// Base of every decoded extension record. A loader runs the post-load hook of each extension
// found on a record after it has built a scene object from that record; the hook may load
// further objects through the unarchiver. Hooks never fail.
class GLTFExtensionValue {
  public:
    virtual ~GLTFExtensionValue() = default;

    virtual void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const;
};
