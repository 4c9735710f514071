#include "XformStack.h"

#include "ValueReading.h"

#include <glm/gtc/matrix_transform.hpp>
#include <string_view>

namespace usd::reader {
namespace {

constexpr std::string_view kOpPrefix = "xformOp:";
constexpr std::string_view kInvertPrefix = "!invert!";
constexpr std::string_view kResetXformStack = "!resetXformStack!";

// "xformOp:rotateXYZ:pivot" → "rotateXYZ".
std::string_view opType(std::string_view attribute) {
    std::string_view rest = attribute.substr(kOpPrefix.size());
    return rest.substr(0, rest.find(':'));
}

glm::dvec3 axis(char letter) {
    return {letter == 'X' ? 1.0 : 0.0, letter == 'Y' ? 1.0 : 0.0, letter == 'Z' ? 1.0 : 0.0};
}

scene::Matrix4 rotation(char axisLetter, double degrees) {
    return glm::rotate(scene::Matrix4(1.0), glm::radians(degrees), axis(axisLetter));
}

// rotateXYZ applies X first, then Y, then Z; angles are always stored as (x, y, z).
scene::Matrix4 eulerRotation(std::string_view order, const glm::dvec3& degrees) {
    scene::Matrix4 matrix(1.0);
    for (char letter : order) {
        matrix = rotation(letter, degrees[letter - 'X']) * matrix;
    }
    return matrix;
}

bool isEulerOrder(std::string_view order) {
    return order.size() == 3 && order.find('X') != std::string_view::npos &&
           order.find('Y') != std::string_view::npos && order.find('Z') != std::string_view::npos;
}

std::optional<scene::Matrix4> opMatrix(std::string_view type, const Value* value) {
    if (type == "transform") {
        return readMatrix(value);
    }
    if (type == "orient") {
        const auto quaternion = readQuaternion(value);
        return quaternion ? std::optional(scene::Matrix4(glm::mat4_cast(*quaternion)))
                          : std::nullopt;
    }
    if (type.starts_with("rotate") && type.size() == 7) {
        const auto angle = readNumber(value);
        return angle ? std::optional(rotation(type[6], *angle)) : std::nullopt;
    }
    const auto vector = readVector(value);
    if (!vector) {
        return std::nullopt;
    }
    const glm::dvec3 v(*vector);
    if (type == "translate") {
        return glm::translate(scene::Matrix4(1.0), v);
    }
    if (type == "scale") {
        return glm::scale(scene::Matrix4(1.0), v);
    }
    if (type.starts_with("rotate") && isEulerOrder(type.substr(6))) {
        return eulerRotation(type.substr(6), v);
    }
    return std::nullopt;
}

bool isRotation(std::string_view type) {
    return type.starts_with("rotate") || type == "orient";
}

// The T/R/S shape: plain (unsuffixed, not inverted) ops in that order, at most one each.
bool isComponentStack(const std::vector<std::string>& order) {
    int stage = 0;
    for (const std::string& entry : order) {
        if (!entry.starts_with(kOpPrefix) ||
            entry.find(':', kOpPrefix.size()) != std::string::npos) {
            return false;
        }
        const std::string_view type = opType(entry);
        const int next = type == "translate" ? 1 : isRotation(type) ? 2 : type == "scale" ? 3 : 4;
        if (next <= stage || next == 4) {
            return false;
        }
        stage = next;
    }
    return true;
}

} // namespace

LocalTransform evaluateXformStack(const ComposedPrim& prim, SceneReadWarnings& warnings) {
    LocalTransform local;
    std::vector<std::string> order = readTextArray(prim.attributeValue("xformOpOrder"));
    if (!order.empty() && order.front() == kResetXformStack) {
        local.resetsXformStack = true;
        order.erase(order.begin());
    }
    bool complete = true;
    for (const std::string& entry : order) {
        const bool inverted = entry.starts_with(kInvertPrefix);
        const std::string attribute = inverted ? entry.substr(kInvertPrefix.size()) : entry;
        std::optional<scene::Matrix4> op;
        if (attribute.starts_with(kOpPrefix) && Path::isValidPropertyName(attribute)) {
            op = opMatrix(opType(attribute), prim.attributeValue(attribute));
        }
        if (!op) {
            warnings.push_back("The transform op " + entry + " of " + prim.path().text() +
                               " cannot be read; it is left out.");
            complete = false;
            continue;
        }
        local.matrix = local.matrix * (inverted ? glm::inverse(*op) : *op);
    }
    if (complete && isComponentStack(order)) {
        local.components = scene::decomposeTransform(local.matrix);
    }
    return local;
}

} // namespace usd::reader
