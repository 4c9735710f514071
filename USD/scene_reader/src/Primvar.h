#pragma once

#include "ComposedPrim.h"
#include "MeshTopology.h"
#include "ValueReading.h"

#include <USD/scene_reader/SceneReader.h>
#include <optional>
#include <string>

namespace usd::reader {

enum class Interpolation { constant, uniform, varying, vertex, faceVarying };

// A per-mesh value array and how its elements spread over the mesh: one element per mesh,
// face, point or face corner, optionally through an index array.
class Primvar {
  public:
    Primvar(VectorArray values, IntegerArray indices, Interpolation interpolation)
        : values_(std::move(values)), indices_(std::move(indices)), interpolation_(interpolation) {}

    // Reads the attribute and checks its element count against the mesh; nullopt (with a
    // warning when it was authored) when it is missing, not numeric or does not fit.
    static std::optional<Primvar> read(const ComposedPrim& mesh, const std::string& attribute,
                                       Interpolation fallback, const MeshTopology& topology,
                                       SceneReadNotes& notes);

    Interpolation interpolation() const { return interpolation_; }
    int components() const { return values_.components(); }
    // Which value a corner takes: equal numbers mean equal values.
    std::size_t valueIndex(const Corner& corner) const;
    glm::vec4 value(const Corner& corner) const { return values_[valueIndex(corner)]; }
    glm::vec4 value(std::size_t index) const { return values_[index]; }
    // The values as stored when point p takes value p and each has `components` floats, so
    // that they can be copied in one piece; empty otherwise.
    std::span<const float> valuesInPointOrder(int components) const;
    // Whether the values are the layer's own (not converted, nor computed).
    bool valuesViewLayer() const { return values_.viewsLayer(); }

  private:
    VectorArray values_;
    IntegerArray indices_; // empty when the values are used in order; each one in range
    Interpolation interpolation_;
};

// The number of elements an interpolation needs on a mesh.
std::size_t expectedElementCount(Interpolation interpolation, const MeshTopology& topology);

std::optional<Interpolation> interpolationNamed(const std::string& name);

} // namespace usd::reader
