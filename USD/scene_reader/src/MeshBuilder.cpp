#include "MeshBuilder.h"

#include "ComputedNormals.h"
#include "MeshElements.h"
#include "Primvar.h"
#include "ValueReading.h"
#include "VertexWelding.h"

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <algorithm>

namespace usd::reader {
namespace {

using scene::GeometrySemantic;

bool isEmulatedDoubleSided(const ComposedPrim& mesh) {
    const Value* value = mesh.metadata("customData");
    const auto* data = value ? value->get<Dictionary>() : nullptr;
    return data != nullptr && readBool(data->find("emulatedDoubleSided")).value_or(false);
}

// A two-component primvar whose type says it holds texture coordinates.
bool isTexcoordPrimvar(const ComposedPrim& mesh, const std::string& attribute) {
    if (!attribute.starts_with("primvars:") || attribute.ends_with(":indices")) {
        return false;
    }
    const auto type = readText(mesh.propertyField(attribute, "typeName")).value_or("");
    return type == "texCoord2f[]" || type == "texCoord2d[]" || type == "texCoord2h[]" ||
           type == "float2[]" || type == "double2[]" || type == "half2[]";
}

// The primvars the materials read first, in their order, then the others.
std::vector<std::string> texcoordOrder(const ComposedPrim& mesh,
                                       const std::vector<ResolvedMaterial>& materials) {
    std::vector<std::string> order;
    const auto add = [&](const std::string& attribute) {
        if (std::ranges::find(order, attribute) == order.end() &&
            isTexcoordPrimvar(mesh, attribute)) {
            order.push_back(attribute);
        }
    };
    for (const ResolvedMaterial& material : materials) {
        for (const std::string& name : material.texcoordPrimvars) {
            add("primvars:" + name);
        }
    }
    for (const std::string& attribute : mesh.propertyNames()) {
        add(attribute);
    }
    return order;
}

template <glm::length_t N, typename Convert>
std::shared_ptr<scene::GeometrySource> vertexSource(GeometrySemantic semantic,
                                                    const WeldedVertices& welded, Convert convert) {
    std::vector<glm::vec<N, float>> vectors;
    vectors.reserve(welded.vertices.size());
    for (const Corner& corner : welded.vertices) {
        vectors.push_back(glm::vec<N, float>(convert(corner)));
    }
    return scene::GeometrySource::fromVectors<N>(semantic, vectors);
}

std::optional<Primvar> authoredNormals(const ComposedPrim& mesh, const MeshTopology& topology,
                                       SceneReadWarnings& warnings) {
    if (mesh.attributeValue("primvars:normals") != nullptr) {
        return Primvar::read(mesh, "primvars:normals", Interpolation::vertex, topology, warnings);
    }
    return Primvar::read(mesh, "normals", Interpolation::vertex, topology, warnings);
}

Primvar meshNormals(const ComposedPrim& mesh, const MeshTopology& topology,
                    const std::vector<glm::dvec4>& points, SceneReadWarnings& warnings) {
    if (std::optional<Primvar> normals = authoredNormals(mesh, topology, warnings)) {
        return std::move(*normals);
    }
    const auto scheme = readText(mesh.attributeValue("subdivisionScheme")).value_or("catmullClark");
    return scheme == "none" ? flatNormals(topology, points) : smoothNormals(topology, points);
}

// Vertex colours: displayColor that varies over the mesh (a constant one only tints the
// fallback material), with displayOpacity as alpha.
struct ColorPrimvars {
    std::optional<Primvar> color;
    std::optional<Primvar> opacity;
};

ColorPrimvars colorPrimvars(const ComposedPrim& mesh, const MeshTopology& topology,
                            bool materialReadsColor, SceneReadWarnings& warnings) {
    ColorPrimvars colors;
    colors.color =
        Primvar::read(mesh, "primvars:displayColor", Interpolation::constant, topology, warnings);
    if (!colors.color ||
        (colors.color->interpolation() == Interpolation::constant && !materialReadsColor)) {
        return {};
    }
    colors.opacity =
        Primvar::read(mesh, "primvars:displayOpacity", Interpolation::constant, topology, warnings);
    return colors;
}

std::shared_ptr<scene::GeometryElement>
elementFor(const FaceGroup& group, const MeshTopology& topology, const WeldedVertices& welded) {
    std::vector<std::uint32_t> indices;
    indices.reserve(topology.corners.size());
    for (std::size_t i = 0; i < topology.corners.size(); ++i) {
        if (group.faces[topology.corners[i].face]) {
            indices.push_back(welded.cornerVertex[i]);
        }
    }
    if (indices.empty()) {
        return nullptr;
    }
    return scene::GeometryElement::fromIndices<std::uint32_t>(indices,
                                                              scene::PrimitiveType::triangles);
}

bool isMeshDoubleSided(const ComposedPrim& mesh, bool emulated) {
    return emulated || readBool(mesh.attributeValue("doubleSided")).value_or(false);
}

} // namespace

std::shared_ptr<scene::Geometry> buildMeshGeometry(const ComposedPrim& mesh,
                                                   MaterialResolver& materials,
                                                   SceneReadWarnings& warnings) {
    const VectorArray points = readVectorArray(mesh.attributeValue("points"));
    if (points.components != 3 || points.elements.empty()) {
        warnings.push_back("The mesh " + mesh.path().text() + " has no points; it is left out.");
        return nullptr;
    }
    const bool emulated = isEmulatedDoubleSided(mesh);
    const std::optional<MeshTopology> topology =
        triangulateMesh(mesh, points.elements.size(), emulated, warnings);
    if (!topology || topology->corners.empty()) {
        return nullptr;
    }
    std::vector<FaceGroup> groups = faceGroups(mesh, topology->faceCount, warnings);
    std::vector<ResolvedMaterial> groupMaterials;
    for (const FaceGroup& group : groups) {
        groupMaterials.push_back(
            materials.materialFor(*group.bound, mesh, isMeshDoubleSided(mesh, emulated)));
    }
    const bool readsColor = std::ranges::any_of(
        groupMaterials, [](const ResolvedMaterial& m) { return m.readsDisplayColor; });

    const Primvar normals = meshNormals(mesh, *topology, points.elements, warnings);
    std::vector<Primvar> texcoords;
    for (const std::string& attribute : texcoordOrder(mesh, groupMaterials)) {
        if (auto texcoord =
                Primvar::read(mesh, attribute, Interpolation::constant, *topology, warnings)) {
            texcoords.push_back(std::move(*texcoord));
        }
    }
    const ColorPrimvars colors = colorPrimvars(mesh, *topology, readsColor, warnings);

    std::vector<const Primvar*> used{&normals};
    for (const Primvar& texcoord : texcoords) {
        used.push_back(&texcoord);
    }
    for (const auto* color : {&colors.color, &colors.opacity}) {
        if (*color) {
            used.push_back(&**color);
        }
    }
    const WeldedVertices welded = weldVertices(*topology, used);

    std::vector<std::shared_ptr<scene::GeometrySource>> sources;
    sources.push_back(vertexSource<3>(GeometrySemantic::vertex, welded, [&](const Corner& c) {
        return glm::dvec3(points.elements[c.point]);
    }));
    sources.push_back(vertexSource<3>(GeometrySemantic::normal, welded, [&](const Corner& c) {
        return glm::dvec3(normals.value(c));
    }));
    for (const Primvar& texcoord : texcoords) {
        sources.push_back(vertexSource<2>(GeometrySemantic::texcoord, welded, [&](const Corner& c) {
            const glm::dvec4& st = texcoord.value(c);
            return glm::dvec2(st.x, 1.0 - st.y);
        }));
    }
    if (colors.color) {
        sources.push_back(vertexSource<4>(GeometrySemantic::color, welded, [&](const Corner& c) {
            const double alpha = colors.opacity ? colors.opacity->value(c).x : 1.0;
            return glm::dvec4(glm::dvec3(colors.color->value(c)), alpha);
        }));
    }

    std::vector<std::shared_ptr<scene::GeometryElement>> elements;
    std::vector<std::shared_ptr<scene::Material>> elementMaterials;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (auto element = elementFor(groups[i], *topology, welded)) {
            elements.push_back(std::move(element));
            elementMaterials.push_back(groupMaterials[i].material);
        }
    }
    auto geometry = scene::Geometry::create(std::move(sources), std::move(elements));
    geometry->setName(std::string(mesh.name()));
    geometry->setMaterials(std::move(elementMaterials));
    return geometry;
}

} // namespace usd::reader
