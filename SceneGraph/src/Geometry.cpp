#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace scene {
namespace {

template <class Object>
void checkNoneMissing(const std::vector<std::shared_ptr<Object>>& objects, const char* what) {
    const auto missing = std::find(objects.begin(), objects.end(), nullptr);
    if (missing != objects.end()) {
        throw std::invalid_argument(std::string("geometry: ") + what + " " +
                                    std::to_string(missing - objects.begin()) + " is null");
    }
}

} // namespace

Geometry::Geometry(std::vector<std::shared_ptr<GeometrySource>> sources,
                   std::vector<std::shared_ptr<GeometryElement>> elements)
    : sources_(std::move(sources)), elements_(std::move(elements)) {}

std::shared_ptr<Geometry> Geometry::create(std::vector<std::shared_ptr<GeometrySource>> sources,
                                           std::vector<std::shared_ptr<GeometryElement>> elements) {
    checkNoneMissing(sources, "source");
    checkNoneMissing(elements, "element");
    return std::shared_ptr<Geometry>(new Geometry(std::move(sources), std::move(elements)));
}

std::shared_ptr<Geometry> Geometry::copy() const {
    auto geometry = create(sources_, elements_);
    geometry->name_ = name_;
    geometry->materials_ = materials_;
    geometry->materialVariants_ = materialVariants_;
    return geometry;
}

std::vector<std::shared_ptr<GeometrySource>>
Geometry::sourcesForSemantic(GeometrySemantic semantic) const {
    std::vector<std::shared_ptr<GeometrySource>> matching;
    std::copy_if(sources_.begin(), sources_.end(), std::back_inserter(matching),
                 [semantic](const auto& source) { return source->semantic() == semantic; });
    return matching;
}

std::shared_ptr<GeometrySource> Geometry::firstSource(GeometrySemantic semantic) const {
    const auto found = std::find_if(sources_.begin(), sources_.end(), [semantic](const auto& s) {
        return s->semantic() == semantic;
    });
    return found == sources_.end() ? nullptr : *found;
}

void Geometry::setMaterials(std::vector<std::shared_ptr<Material>> materials) {
    checkNoneMissing(materials, "material");
    materials_ = std::move(materials);
}

void Geometry::setMaterialVariants(std::vector<MaterialVariant> variants) {
    const auto missing =
        std::ranges::find_if(variants, [](const auto& variant) { return !variant.material; });
    if (missing != variants.end()) {
        throw std::invalid_argument("geometry: the material of variant " + missing->name +
                                    " is null");
    }
    materialVariants_ = std::move(variants);
}

std::shared_ptr<Material> Geometry::materialForElement(std::size_t elementIndex) const {
    return materials_.empty() ? nullptr : materials_[elementIndex % materials_.size()];
}

std::shared_ptr<Material> Geometry::materialWithName(std::string_view name) const {
    const auto found =
        std::find_if(materials_.begin(), materials_.end(),
                     [name](const auto& material) { return material->name == name; });
    return found == materials_.end() ? nullptr : *found;
}

} // namespace scene
