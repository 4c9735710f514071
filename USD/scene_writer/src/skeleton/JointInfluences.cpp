#include "skeleton/JointInfluences.h"

#include <SceneGraph/GeometrySource.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

namespace usd::writer {
namespace {

// Integer weights mean fractions of their type's range, as glTF stores them.
double normalizedComponent(const scene::GeometrySource& source, std::size_t vertex, int component) {
    const double stored = source.component(vertex, component);
    if (source.usesFloatComponents())
        return stored;
    const int bits = 8 * source.bytesPerComponent();
    if (source.layout().signedComponents)
        return std::max(stored / (std::ldexp(1.0, bits - 1) - 1), -1.0);
    return stored / (std::ldexp(1.0, bits) - 1);
}

template <typename T> glm::dvec4 storedFour(const std::uint8_t* at, int count, double scale) {
    glm::dvec4 vector(0.0);
    for (int k = 0; k < count; ++k) {
        T value;
        std::memcpy(&value, at + k * sizeof(T), sizeof(T));
        vector[k] = static_cast<double>(value) * scale;
    }
    return vector;
}

// The first four components of vector `v`, weights normalised. The layouts skins use (32-bit
// floats, 8- and 16-bit unsigned integers) are read straight from the bytes: a big mesh has
// millions of them.
glm::dvec4 firstFour(const scene::GeometrySource& source, std::size_t v, bool normalized) {
    const std::uint8_t* at = source.data()->data() + source.dataOffset() + v * source.dataStride();
    const int count = std::min(source.componentsPerVector(), 4);
    const bool plainUnsigned = !source.usesFloatComponents() && !source.layout().signedComponents;
    if (source.usesFloatComponents() && source.bytesPerComponent() == 4)
        return storedFour<float>(at, count, 1.0);
    if (plainUnsigned && source.bytesPerComponent() == 1)
        return storedFour<std::uint8_t>(at, count, normalized ? 1.0 / 255 : 1.0);
    if (plainUnsigned && source.bytesPerComponent() == 2)
        return storedFour<std::uint16_t>(at, count, normalized ? 1.0 / 65535 : 1.0);
    return normalized ? source.normalizedVector(v) : source.vector(v);
}

struct RepairCounts {
    std::size_t invalid = 0;   // negative, non-finite or naming no joint
    std::size_t truncated = 0; // vertices with more than four non-zero weights
    std::size_t empty = 0;     // vertices left with no weight
    std::size_t missing = 0;   // vertices the sources do not reach
};

using Influence = std::pair<double, int>; // weight, joint

// The vertex's usable influences; false when the sources do not reach the vertex.
bool readVertex(const scene::Skinner& skinner, std::span<const int> boneJoints, std::size_t v,
                std::vector<Influence>& influences, RepairCounts& counts) {
    influences.clear();
    const scene::GeometrySource& weights = *skinner.boneWeights();
    const scene::GeometrySource& bones = *skinner.boneIndices();
    if (v >= weights.vectorCount() || v >= bones.vectorCount()) {
        ++counts.missing;
        return false;
    }
    const int slots = std::min(weights.componentsPerVector(), bones.componentsPerVector());
    // Up to four slots are read a vector at a time, the rest one component at a time.
    const glm::dvec4 firstWeights = firstFour(weights, v, true);
    const glm::dvec4 firstBones = firstFour(bones, v, false);
    for (int k = 0; k < slots; ++k) {
        const double weight = k < 4 ? firstWeights[k] : normalizedComponent(weights, v, k);
        if (weight == 0)
            continue;
        const double bone = k < 4 ? firstBones[k] : bones.component(v, k);
        const bool known = bone >= 0 && bone < static_cast<double>(boneJoints.size()) &&
                           boneJoints[static_cast<std::size_t>(bone)] >= 0;
        if (!known || !(weight > 0) || !std::isfinite(weight)) {
            ++counts.invalid;
            continue;
        }
        influences.emplace_back(weight, boneJoints[static_cast<std::size_t>(bone)]);
    }
    return true;
}

void report(const RepairCounts& counts, const std::string& label, Notes& notes) {
    if (counts.missing > 0)
        notes.push_back(label + ": " + std::to_string(counts.missing) +
                        " vertices have no skin weights; they follow the skin's first bone.");
    if (counts.invalid > 0)
        notes.push_back(label + ": " + std::to_string(counts.invalid) +
                        " skin weights that were negative, not numbers or named no bone "
                        "were dropped.");
    if (counts.truncated > 0)
        notes.push_back(label + ": " + std::to_string(counts.truncated) +
                        " vertices are moved by more than " + std::to_string(kMaxInfluences) +
                        " bones; the strongest " + std::to_string(kMaxInfluences) + " were kept.");
    if (counts.empty > 0)
        notes.push_back(label + ": " + std::to_string(counts.empty) +
                        " vertices had only zero skin weights; they follow the skin's first "
                        "bone.");
}

// One vertex's influences as written: at most four, the strongest, normalised; a vertex with
// none follows the skin's first bone.
class VertexInfluences {
  public:
    VertexInfluences(const scene::Skinner& skinner, std::span<const int> boneJoints)
        : skinner_(skinner), boneJoints_(boneJoints) {
        const auto firstBone = std::ranges::find_if(boneJoints, [](int j) { return j >= 0; });
        fallbackJoint_ = firstBone == boneJoints.end() ? 0 : *firstBone;
    }

    const std::vector<Influence>& operator()(std::size_t v, std::vector<Influence>& influences,
                                             RepairCounts& counts) const {
        const bool reached = readVertex(skinner_, boneJoints_, v, influences, counts);
        if (influences.size() > kMaxInfluences) {
            std::ranges::stable_sort(influences, std::greater{}, &Influence::first);
            influences.resize(kMaxInfluences);
            ++counts.truncated;
        }
        double sum = 0;
        for (const auto& [weight, joint] : influences)
            sum += weight;
        if (!(sum > 0)) {
            counts.empty += reached ? 1 : 0;
            influences.assign(1, {1.0, fallbackJoint_});
            return influences;
        }
        for (auto& [weight, joint] : influences)
            weight /= sum;
        return influences;
    }

  private:
    const scene::Skinner& skinner_;
    std::span<const int> boneJoints_;
    int fallbackJoint_ = 0;
};

// Gives every row `size` slots, keeping the first `rowsWritten` rows' influences; the new
// slots hold joint 0 with weight 0, as unused slots do.
void widenRows(JointInfluences& influences, std::size_t rowCount, std::size_t rowsWritten,
               std::size_t size) {
    const auto oldSize = static_cast<std::size_t>(influences.elementSize);
    Array<std::int32_t> indices(rowCount * size, 0);
    Array<float> weights(rowCount * size, 0.0f);
    for (std::size_t row = 0; row < rowsWritten; ++row) {
        std::copy_n(influences.indices.begin() + static_cast<std::ptrdiff_t>(row * oldSize),
                    oldSize, indices.begin() + static_cast<std::ptrdiff_t>(row * size));
        std::copy_n(influences.weights.begin() + static_cast<std::ptrdiff_t>(row * oldSize),
                    oldSize, weights.begin() + static_cast<std::ptrdiff_t>(row * size));
    }
    influences.indices = std::move(indices);
    influences.weights = std::move(weights);
    influences.elementSize = static_cast<int>(size);
}

// Whether the vertices are 0, 1, 2, … in order, which keeps every influence where it is.
bool countsUpFromZero(std::span<const std::uint32_t> vertices) {
    for (std::size_t i = 0; i < vertices.size(); ++i)
        if (vertices[i] != i)
            return false;
    return true;
}

} // namespace

JointInfluences JointInfluences::select(std::span<const std::uint32_t> vertices) const {
    JointInfluences selected;
    selected.elementSize = elementSize;
    const auto size = static_cast<std::size_t>(elementSize);
    selected.indices.reserve(vertices.size() * size);
    selected.weights.reserve(vertices.size() * size);
    for (const std::uint32_t v : vertices) {
        const auto first = static_cast<std::ptrdiff_t>(v * size);
        const auto last = first + static_cast<std::ptrdiff_t>(size);
        selected.indices.insert(selected.indices.end(), indices.begin() + first,
                                indices.begin() + last);
        selected.weights.insert(selected.weights.end(), weights.begin() + first,
                                weights.begin() + last);
    }
    return selected;
}

JointInfluences JointInfluences::take(std::span<const std::uint32_t> vertices) {
    const bool inOrder =
        vertices.size() * static_cast<std::size_t>(elementSize) == indices.size() &&
        countsUpFromZero(vertices);
    return inOrder ? std::move(*this) : select(vertices);
}

JointInfluences readJointInfluences(const scene::Skinner& skinner, std::span<const int> boneJoints,
                                    std::size_t vertexCount, const std::string& label,
                                    Notes& notes) {
    const VertexInfluences read(skinner, boneJoints);
    std::vector<Influence> influences;
    // As many slots as the busiest vertex needs: a mesh whose vertices follow one or two bones
    // makes arrays a half or a quarter the size. The rows widen when a busier vertex comes, so
    // the vertices are read once.
    JointInfluences result;
    result.indices.assign(vertexCount, 0);
    result.weights.assign(vertexCount, 0.0f);
    RepairCounts counts;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const auto& kept = read(v, influences, counts);
        if (kept.size() > static_cast<std::size_t>(result.elementSize))
            widenRows(result, vertexCount, v, kept.size());
        const auto size = static_cast<std::size_t>(result.elementSize);
        for (std::size_t k = 0; k < kept.size(); ++k) {
            result.indices[v * size + k] = kept[k].second;
            result.weights[v * size + k] = static_cast<float>(kept[k].first);
        }
    }
    report(counts, label, notes);
    return result;
}

} // namespace usd::writer
