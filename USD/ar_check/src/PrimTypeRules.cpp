#include "RuleParts.h"

#include <USD/ar_check/LayerQueries.h>
#include <set>

namespace usd::ar {
namespace {

// The prim types the viewer reads ("" for prims without one).
const std::set<std::string, std::less<>> acceptedTypes{
    "",           "Scope",  "Xform",    "Camera",   "Shader",        "Material",
    "Mesh",       "Sphere", "Cube",     "Cylinder", "Cone",          "Capsule",
    "GeomSubset", "Points", "SkelRoot", "Skeleton", "SkelAnimation", "BlendShape"};

const std::set<std::string, std::less<>> gprimTypes{"Mesh", "Points",   "BasisCurves", "Sphere",
                                                    "Cube", "Cylinder", "Cone",        "Capsule"};

std::string whatToDoWith(const std::string& type) {
    if (type.ends_with("Light"))
        return "the viewer lights the model itself; leave the light out";
    if (type == "BasisCurves" || type == "NurbsCurves" || type == "HermiteCurves")
        return "leave the curves out, or make them thin meshes";
    return "leave the prim out, or make it one of the types the viewer knows";
}

} // namespace

void checkPrimTypes(const Layer& layer, RuleProblems& problems) {
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Prim)
            continue;
        const std::string type = primType(layer, path);
        if (!acceptedTypes.contains(type))
            addProblem(problems, rule::primTypes, path,
                       "AR Quick Look does not accept prims of type " + type + ": " +
                           whatToDoWith(type) + ".");
        if (!gprimTypes.contains(type))
            continue;
        for (Path up = path.parent(); up.isPrimPath(); up = up.parent())
            if (gprimTypes.contains(primType(layer, up)))
                addProblem(problems, rule::gprimNesting, path,
                           "a geometric prim inside another one (" + up.text() +
                               "): make it a sibling below an Xform.");
    }
}

} // namespace usd::ar
