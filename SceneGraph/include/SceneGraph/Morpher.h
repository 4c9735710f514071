#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace scene {

class Geometry;

/// How targets combine with the base geometry: additive targets hold offsets added with their
/// weights; normalized targets hold whole shapes blended by weight.
enum class MorpherCalculationMode { normalized = 0, additive = 1 };

/// Morph targets of one geometry and one weight per target. Animations and blend shapes set a
/// weight through the key path "morpher.weights[k]".
class Morpher {
  public:
    static std::shared_ptr<Morpher> create() { return std::make_shared<Morpher>(); }

    const std::vector<std::shared_ptr<Geometry>>& targets() const { return targets_; }
    /// Replaces the targets; weights of targets that still exist are kept, new ones are 0.
    void setTargets(std::vector<std::shared_ptr<Geometry>> targets);

    MorpherCalculationMode calculationMode() const { return calculationMode_; }
    void setCalculationMode(MorpherCalculationMode mode) { calculationMode_ = mode; }

    const std::vector<double>& weights() const { return weights_; }
    /// Fails with std::out_of_range for a target index not below the number of targets.
    double weight(std::size_t target) const;
    void setWeight(std::size_t target, double weight);

  private:
    std::vector<std::shared_ptr<Geometry>> targets_;
    std::vector<double> weights_;
    MorpherCalculationMode calculationMode_ = MorpherCalculationMode::normalized;
};

} // namespace scene
