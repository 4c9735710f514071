#include <SceneGraph/Morpher.h>
#include <stdexcept>
#include <string>

namespace scene {
namespace {

void checkTarget(std::size_t target, std::size_t targetCount) {
    if (target >= targetCount) {
        throw std::out_of_range("morpher: weight " + std::to_string(target) +
                                " does not exist; the morpher has " + std::to_string(targetCount) +
                                " targets");
    }
}

} // namespace

void Morpher::setTargets(std::vector<std::shared_ptr<Geometry>> targets) {
    targets_ = std::move(targets);
    weights_.resize(targets_.size(), 0.0);
}

double Morpher::weight(std::size_t target) const {
    checkTarget(target, weights_.size());
    return weights_[target];
}

void Morpher::setWeight(std::size_t target, double weight) {
    checkTarget(target, weights_.size());
    weights_[target] = weight;
}

} // namespace scene
