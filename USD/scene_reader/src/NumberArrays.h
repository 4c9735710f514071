#pragma once

#include <USD/layer/Value.h>
#include <cstddef>
#include <cstdint>
#include <glm/vec4.hpp>
#include <optional>
#include <span>
#include <vector>

// Mesh arrays are by far the largest values of a file. Files almost always store them as 32-bit
// floats and integers, so they are read where the layer holds them; only other types are
// converted into arrays of their own. A view must not outlive the layer it reads.
namespace usd::reader {

// An array of numbers or vectors of up to four components, as floats.
class VectorArray {
  public:
    VectorArray() = default;
    // Owns `floats`: `components` of them per element.
    VectorArray(std::vector<float> floats, int components);
    // Reads `floats` in place.
    static VectorArray viewOf(std::span<const float> floats, int components);

    VectorArray(VectorArray&&) noexcept = default;
    VectorArray& operator=(VectorArray&&) noexcept = default;
    VectorArray(const VectorArray&) = delete;
    VectorArray& operator=(const VectorArray&) = delete;

    // 0 when the value was no such array.
    int components() const { return components_; }
    std::size_t size() const { return components_ == 0 ? 0 : floats_.size() / components_; }
    bool empty() const { return size() == 0; }
    // Element `index` (below size()); missing components are 0.
    glm::vec4 operator[](std::size_t index) const;
    // Every element's components, one after the other.
    std::span<const float> floats() const { return floats_; }
    // Whether the floats are the layer's own, rather than converted into the array's.
    bool viewsLayer() const { return owned_.empty(); }

  private:
    std::vector<float> owned_;
    std::span<const float> floats_;
    int components_ = 0;
};

VectorArray readVectorArray(const Value* value);

// An array of integers of any width, as 32-bit numbers. A stored number outside that range
// reads as -1, which every count and index check refuses, as it would the number itself.
class IntegerArray {
  public:
    IntegerArray() = default;
    explicit IntegerArray(std::vector<std::int32_t> numbers);
    static IntegerArray viewOf(std::span<const std::int32_t> numbers);

    IntegerArray(IntegerArray&&) noexcept = default;
    IntegerArray& operator=(IntegerArray&&) noexcept = default;
    IntegerArray(const IntegerArray&) = delete;
    IntegerArray& operator=(const IntegerArray&) = delete;

    std::size_t size() const { return numbers_.size(); }
    bool empty() const { return numbers_.empty(); }
    std::int32_t operator[](std::size_t index) const { return numbers_[index]; }
    std::span<const std::int32_t> numbers() const { return numbers_; }
    // Whether the numbers are the layer's own, rather than converted into the array's.
    bool viewsLayer() const { return owned_.empty(); }
    auto begin() const { return numbers_.begin(); }
    auto end() const { return numbers_.end(); }

  private:
    std::vector<std::int32_t> owned_;
    std::span<const std::int32_t> numbers_;
};

// Nullopt for a value that is no integer array.
std::optional<IntegerArray> readIntegerArray(const Value* value);

// Per-face or per-curve vertex counts at a glance, from one pass over what may be millions.
struct CountSummary {
    std::uint64_t total = 0; // meaningful only without negative counts
    bool anyNegative = false;
    std::optional<std::int32_t> shared; // the count every one has, when they all agree
};
CountSummary summarizeCounts(const IntegerArray& counts);

// The sum of per-face or per-curve vertex counts; nullopt when one is negative.
std::optional<std::uint64_t> totalOfCounts(const IntegerArray& counts);

} // namespace usd::reader
