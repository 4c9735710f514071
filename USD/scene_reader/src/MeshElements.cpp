#include "MeshElements.h"

#include "ValueReading.h"

namespace usd::reader {
namespace {

bool isMaterialSubset(const ComposedPrim& prim) {
    if (prim.typeName() != "GeomSubset" ||
        readText(prim.attributeValue("elementType")).value_or("face") != "face") {
        return false;
    }
    return readText(prim.attributeValue("familyName")).value_or("") == "materialBind" ||
           prim.hasProperty("material:binding") || prim.hasProperty("material:binding:preview");
}

} // namespace

std::vector<FaceGroup> faceGroups(const ComposedPrim& mesh, std::size_t faceCount,
                                  SceneReadNotes& notes) {
    std::vector<FaceGroup> groups;
    std::vector<bool> unclaimed(faceCount, true);
    bool claimedAny = false;
    for (const auto& child : mesh.children()) {
        if (!isMaterialSubset(*child)) {
            continue;
        }
        FaceGroup group{child.get(), std::vector<bool>(faceCount, false), false};
        std::size_t outside = 0;
        for (std::int32_t face :
             readIntegerArray(child->attributeValue("indices")).value_or(IntegerArray{})) {
            if (face < 0 || static_cast<std::size_t>(face) >= faceCount) {
                ++outside;
                continue;
            }
            group.faces[static_cast<std::size_t>(face)] = true;
            unclaimed[static_cast<std::size_t>(face)] = false;
            claimedAny = true;
        }
        if (outside > 0) {
            notes.push_back("The subset " + child->path().text() + " names " +
                            std::to_string(outside) +
                            " faces the mesh does not have; they are left out.");
        }
        groups.push_back(std::move(group));
    }
    groups.push_back({&mesh, std::move(unclaimed), !claimedAny});
    return groups;
}

} // namespace usd::reader
