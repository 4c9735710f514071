#pragma once

#include "ComposedPrim.h"

#include <USD/scene_reader/SceneReader.h>
#include <vector>

namespace usd::reader {

// A group of faces drawn with one material: a material subset, or the faces in none.
struct FaceGroup {
    const ComposedPrim* bound = nullptr; // whose material binding applies
    std::vector<bool> faces;             // by face index
    bool everyFace = false;              // set when no other group holds a face
};

// The material subsets of a mesh (GeomSubset children of element type face, in the
// materialBind family or carrying a binding of their own), then the faces none of them
// holds, bound to the mesh itself. Without subsets: one group of every face.
std::vector<FaceGroup> faceGroups(const ComposedPrim& mesh, std::size_t faceCount,
                                  SceneReadNotes& notes);

} // namespace usd::reader
