#include "ExtensionParts.h"

#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFUnarchiver.h>

namespace gltf {

bool applyOrLeaveOut(GLTFUnarchiver& unarchiver, const std::string& part,
                     const std::function<void()>& apply) {
    try {
        apply();
        return true;
    } catch (const GLTFUnarchiveError& error) {
        unarchiver.noteOnce("loadMaterial: " + part + " is left out: " + error.what());
    } catch (const FileError& error) {
        unarchiver.noteOnce("loadMaterial: " + part + " is left out: " + error.what());
    }
    return false;
}

} // namespace gltf
