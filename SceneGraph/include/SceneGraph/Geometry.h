#pragma once

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

class Material;

/// Another look a file offers for a geometry: under the variant called `name`, `material`
/// draws every element instead of the geometry's own materials, which stay the default.
struct MaterialVariant {
    std::string name;
    std::shared_ptr<Material> material;
};

/// Vertex sources, the elements that index them, and the materials that colour them.
/// Geometries are shared: cloned nodes, skinners and morphers refer to the same object.
class Geometry {
  public:
    /// Fails with std::invalid_argument when a source or element is null.
    static std::shared_ptr<Geometry>
    create(std::vector<std::shared_ptr<GeometrySource>> sources,
           std::vector<std::shared_ptr<GeometryElement>> elements = {});

    /// A new geometry with the same sources, elements, materials and name (all shared).
    std::shared_ptr<Geometry> copy() const;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    const std::vector<std::shared_ptr<GeometrySource>>& sources() const { return sources_; }
    const std::vector<std::shared_ptr<GeometryElement>>& elements() const { return elements_; }

    /// The sources of one semantic, in source order (several texture-coordinate channels …).
    std::vector<std::shared_ptr<GeometrySource>>
    sourcesForSemantic(GeometrySemantic semantic) const;

    /// The first source of that semantic, or null.
    std::shared_ptr<GeometrySource> firstSource(GeometrySemantic semantic) const;

    /// Element i is drawn with material i modulo the number of materials.
    const std::vector<std::shared_ptr<Material>>& materials() const { return materials_; }
    /// Fails with std::invalid_argument when a material is null.
    void setMaterials(std::vector<std::shared_ptr<Material>> materials);

    /// The material that draws element `elementIndex`, or null when there are none.
    std::shared_ptr<Material> materialForElement(std::size_t elementIndex) const;

    /// The first material of that name, or null.
    std::shared_ptr<Material> materialWithName(std::string_view name) const;

    /// The variants in the order the file lists them; none for most geometries.
    const std::vector<MaterialVariant>& materialVariants() const { return materialVariants_; }
    /// Fails with std::invalid_argument when a material is null.
    void setMaterialVariants(std::vector<MaterialVariant> variants);

  private:
    Geometry(std::vector<std::shared_ptr<GeometrySource>> sources,
             std::vector<std::shared_ptr<GeometryElement>> elements);

    std::string name_;
    std::vector<std::shared_ptr<GeometrySource>> sources_;
    std::vector<std::shared_ptr<GeometryElement>> elements_;
    std::vector<std::shared_ptr<Material>> materials_;
    std::vector<MaterialVariant> materialVariants_;
};

} // namespace scene
