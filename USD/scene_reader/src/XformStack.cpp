#include "XformStack.h"

#include "ValueReading.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <string_view>
#include <variant>

namespace usd::reader {
namespace {

constexpr std::string_view kOpPrefix = "xformOp:";
constexpr std::string_view kInvertPrefix = "!invert!";
constexpr std::string_view kResetXformStack = "!resetXformStack!";

// Euler angles interpolate linearly, key orientations spherically; keys this close in angle
// keep the two within a fraction of a degree.
constexpr double kMaxDegreesBetweenKeys = 30.0;

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

bool isSingleAxisRotation(std::string_view type) {
    return type.starts_with("rotate") && type.size() == 7;
}

bool isEulerRotation(std::string_view type) {
    return isSingleAxisRotation(type) ||
           (type.starts_with("rotate") && isEulerOrder(type.substr(6)));
}

// What an op holds: a matrix, a quaternion, or a vector (angles in degrees for rotations).
using OpValue = std::variant<scene::Matrix4, scene::Quaternion, glm::dvec3>;

std::optional<OpValue> readOpValue(std::string_view type, const Value* value) {
    if (type == "transform") {
        const auto matrix = readMatrix(value);
        return matrix ? std::optional<OpValue>(*matrix) : std::nullopt;
    }
    if (type == "orient") {
        const auto quaternion = readQuaternion(value);
        return quaternion ? std::optional<OpValue>(*quaternion) : std::nullopt;
    }
    const auto vector = readVector(value);
    return vector ? std::optional<OpValue>(glm::dvec3(*vector)) : std::nullopt;
}

// Matrices element by element, quaternions along the shorter arc, the rest linearly.
OpValue mixOpValues(const OpValue& from, const OpValue& to, double fraction) {
    return std::visit(
        [&]<typename T>(const T& a) -> OpValue {
            const T& b = std::get<T>(to);
            if constexpr (std::is_same_v<T, scene::Quaternion>) {
                return glm::slerp(a, glm::dot(a, b) < 0 ? -b : b, fraction);
            } else {
                return a + (b - a) * fraction;
            }
        },
        from);
}

std::optional<scene::Matrix4> opMatrix(std::string_view type, const OpValue& value) {
    if (type == "transform") {
        return std::get<scene::Matrix4>(value);
    }
    if (type == "orient") {
        // Stored quaternions are unit only to their precision; a zero one means no turn.
        const scene::Quaternion& q = std::get<scene::Quaternion>(value);
        const double length = glm::length(q);
        return length > 0 ? scene::Matrix4(glm::mat4_cast(q / length)) : scene::Matrix4(1.0);
    }
    const glm::dvec3& v = std::get<glm::dvec3>(value);
    if (isSingleAxisRotation(type)) {
        return rotation(type[6], v.x);
    }
    if (type == "translate") {
        return glm::translate(scene::Matrix4(1.0), v);
    }
    if (type == "scale") {
        return glm::scale(scene::Matrix4(1.0), v);
    }
    if (isEulerRotation(type)) {
        return eulerRotation(type.substr(6), v);
    }
    return std::nullopt;
}

// The op's value at a time code, or its static value without one.
std::optional<OpValue> opValueAt(const ComposedPrim& prim, const std::string& attribute,
                                 std::optional<double> timeCode) {
    const std::string_view type = opType(attribute);
    const TimeSamples* samples = timeCode ? prim.attributeTimeSamples(attribute) : nullptr;
    if (samples == nullptr) {
        return readOpValue(type, prim.attributeValue(attribute));
    }
    const std::vector<double>& times = samples->times;
    const auto after = std::ranges::upper_bound(times, *timeCode);
    if (after == times.begin() || after == times.end() || *(after - 1) == *timeCode) {
        const auto held = after == times.begin() ? 0 : after - times.begin() - 1;
        return readOpValue(type, &samples->values[static_cast<std::size_t>(held)]);
    }
    const auto next = static_cast<std::size_t>(after - times.begin());
    const auto from = readOpValue(type, &samples->values[next - 1]);
    const auto to = readOpValue(type, &samples->values[next]);
    if (!from || !to || from->index() != to->index()) {
        return std::nullopt;
    }
    const double fraction = (*timeCode - times[next - 1]) / (times[next] - times[next - 1]);
    return mixOpValues(*from, *to, fraction);
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

struct OpOrder {
    std::vector<std::string> entries;
    bool resetsXformStack = false;
};

OpOrder opOrder(const ComposedPrim& prim) {
    OpOrder order{readTextArray(prim.attributeValue("xformOpOrder")), false};
    if (!order.entries.empty() && order.entries.front() == kResetXformStack) {
        order.resetsXformStack = true;
        order.entries.erase(order.entries.begin());
    }
    return order;
}

// The attribute an order entry names, when it can name one.
std::optional<std::string> opAttribute(const std::string& entry) {
    const bool inverted = entry.starts_with(kInvertPrefix);
    std::string attribute = inverted ? entry.substr(kInvertPrefix.size()) : entry;
    if (!attribute.starts_with(kOpPrefix) || !Path::isValidPropertyName(attribute)) {
        return std::nullopt;
    }
    return attribute;
}

// How many degrees any Euler angle of the stack turns between two codes.
double eulerTurn(const ComposedPrim& prim, const std::vector<std::string>& attributes, double from,
                 double to) {
    double turn = 0;
    for (const std::string& attribute : attributes) {
        const auto a = opValueAt(prim, attribute, from);
        const auto b = opValueAt(prim, attribute, to);
        if (a && b && a->index() == b->index() && std::holds_alternative<glm::dvec3>(*a)) {
            const glm::dvec3 delta = glm::abs(std::get<glm::dvec3>(*b) - std::get<glm::dvec3>(*a));
            turn = std::max({turn, delta.x, delta.y, delta.z});
        }
    }
    return turn;
}

// Keys between two samples, at most this many: enough for any turn a file sensibly holds. Past
// the second limit only the samples themselves become keys, so a hostile file cannot make
// millions.
constexpr double kMaxKeysBetweenSamples = 64;
constexpr std::size_t kMaxKeysWithInBetweens = std::size_t{1} << 16;

} // namespace

LocalTransform evaluateXformStack(const ComposedPrim& prim, SceneReadNotes& notes,
                                  std::optional<double> timeCode) {
    LocalTransform local;
    const OpOrder order = opOrder(prim);
    local.resetsXformStack = order.resetsXformStack;
    bool complete = true;
    for (const std::string& entry : order.entries) {
        const std::optional<std::string> attribute = opAttribute(entry);
        std::optional<scene::Matrix4> op;
        if (attribute) {
            if (const auto value = opValueAt(prim, *attribute, timeCode)) {
                op = opMatrix(opType(*attribute), *value);
            }
        }
        if (!op) {
            notes.push_back("The transform op " + entry + " of " + prim.path().text() +
                            " cannot be read; it is left out.");
            complete = false;
            continue;
        }
        local.matrix = local.matrix * (entry.starts_with(kInvertPrefix) ? glm::inverse(*op) : *op);
    }
    if (complete && isComponentStack(order.entries)) {
        local.components = scene::decomposeTransform(local.matrix);
    }
    return local;
}

std::vector<double> xformKeyCodes(const ComposedPrim& prim) {
    std::vector<std::string> euler;
    std::vector<double> codes;
    for (const std::string& entry : opOrder(prim).entries) {
        const std::optional<std::string> attribute = opAttribute(entry);
        const TimeSamples* samples = attribute ? prim.attributeTimeSamples(*attribute) : nullptr;
        if (samples == nullptr) {
            continue;
        }
        codes.insert(codes.end(), samples->times.begin(), samples->times.end());
        if (isEulerRotation(opType(*attribute))) {
            euler.push_back(*attribute);
        }
    }
    std::ranges::sort(codes);
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    if (codes.size() < 2) {
        return {};
    }
    std::vector<double> keys{codes.front()};
    for (std::size_t i = 1; i < codes.size(); ++i) {
        const double from = codes[i - 1];
        const double to = codes[i];
        const double steps =
            keys.size() >= kMaxKeysWithInBetweens
                ? 1.0
                : std::min(std::ceil(eulerTurn(prim, euler, from, to) / kMaxDegreesBetweenKeys),
                           kMaxKeysBetweenSamples);
        for (double step = 1; step < steps; ++step) {
            keys.push_back(from + (to - from) * step / steps);
        }
        keys.push_back(to);
    }
    return keys;
}

} // namespace usd::reader
