#include "MeshBuilder.h"

#include "ComputedNormals.h"
#include "MeshElements.h"
#include "Primvar.h"
#include "ValueReading.h"
#include "VertexWelding.h"

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <span>

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

// Values stored in vertex order, and what keeps them alive when they are the layer's own and
// can be viewed where they lie (null when they are not).
struct StoredValues {
    std::span<const float> floats;
    std::shared_ptr<const void> keeper;
};

template <typename T> std::span<const std::uint8_t> bytesOf(std::span<const T> values) {
    return {reinterpret_cast<const std::uint8_t*>(values.data()), values.size_bytes()};
}

// N floats per vertex. Values stored as they are drawn, as in most files, are viewed where the
// layer holds them, or copied in one pass and adjusted on the way; others are gathered vertex
// by vertex.
template <glm::length_t N, typename ValueAt, typename Adjust = std::identity>
std::shared_ptr<scene::GeometrySource>
vertexSource(GeometrySemantic semantic, const WeldedVertices& welded, const StoredValues& stored,
             ValueAt valueAt, Adjust adjust = {}) {
    using Vector = glm::vec<N, float>;
    const std::size_t count = welded.vertexCount();
    // Only a whole array is viewed: a part (the front of an emulated double-sided mesh) would
    // keep the rest alive for nothing.
    if constexpr (std::is_same_v<Adjust, std::identity>) {
        if (stored.keeper && !stored.floats.empty() && stored.floats.size() == count * N) {
            const auto viewed = scene::viewBytes(bytesOf(stored.floats), stored.keeper);
            return scene::GeometrySource::fromPackedFloats(semantic, viewed, N);
        }
    }
    auto [out, bytes] = scene::makeUnsetBlock<float>(count * N);
    for (std::size_t v = 0; v < count; ++v) {
        Vector vector;
        if (stored.floats.empty()) {
            vector = valueAt(welded.vertex(v));
        } else {
            std::memcpy(&vector, stored.floats.data() + v * N, sizeof vector);
        }
        vector = adjust(vector);
        std::memcpy(out + v * N, &vector, sizeof vector);
    }
    return scene::GeometrySource::fromPackedFloats(semantic, std::move(bytes), N);
}

std::optional<Primvar> authoredNormals(const ComposedPrim& mesh, const MeshTopology& topology,
                                       SceneReadNotes& notes) {
    if (mesh.attributeValue("primvars:normals") != nullptr) {
        return Primvar::read(mesh, "primvars:normals", Interpolation::vertex, topology, notes);
    }
    return Primvar::read(mesh, "normals", Interpolation::vertex, topology, notes);
}

Primvar meshNormals(const ComposedPrim& mesh, const MeshTopology& topology,
                    const VectorArray& points, SceneReadNotes& notes) {
    if (std::optional<Primvar> normals = authoredNormals(mesh, topology, notes)) {
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
                            bool materialReadsColor, SceneReadNotes& notes) {
    ColorPrimvars colors;
    colors.color =
        Primvar::read(mesh, "primvars:displayColor", Interpolation::constant, topology, notes);
    if (!colors.color ||
        (colors.color->interpolation() == Interpolation::constant && !materialReadsColor)) {
        return {};
    }
    colors.opacity =
        Primvar::read(mesh, "primvars:displayOpacity", Interpolation::constant, topology, notes);
    return colors;
}

// Every triangle's corners are faceVertexIndices as it is when the vertices are the points and
// the triangles keep the faces' order (checked in range, so never negative): viewed where the
// layer holds it, or copied in one piece.
std::shared_ptr<scene::GeometryElement>
wholeMeshElement(const MeshTopology& topology, const std::shared_ptr<const void>& layerKeeper) {
    const IntegerArray& indices = topology.faceVertexIndices();
    const std::span<const std::int32_t> corners = indices.numbers().first(topology.cornerCount());
    const bool whole = corners.size() == indices.size(); // as for vertex data
    if (whole && indices.viewsLayer() && layerKeeper) {
        return scene::GeometryElement::create(scene::viewBytes(bytesOf(corners), layerKeeper),
                                              scene::PrimitiveType::triangles, corners.size() / 3,
                                              sizeof(std::uint32_t));
    }
    return scene::GeometryElement::fromIndices(
        std::span(reinterpret_cast<const std::uint32_t*>(corners.data()), corners.size()),
        scene::PrimitiveType::triangles);
}

// The triangles of one face group, as 32-bit indices written straight into the block the
// element keeps; null when the group has none.
std::shared_ptr<scene::GeometryElement> elementFor(const FaceGroup& group,
                                                   const MeshTopology& topology,
                                                   const WeldedVertices& welded,
                                                   const std::shared_ptr<const void>& layerKeeper) {
    if (group.everyFace && topology.keepsFaceOrder() && welded.arePoints()) {
        return wholeMeshElement(topology, layerKeeper);
    }
    const std::size_t triangleCount = topology.cornerCount() / 3;
    const auto inGroup = [&](std::size_t t) { return bool(group.faces[topology.triangleFace(t)]); };
    std::size_t selected = 0;
    for (std::size_t t = 0; t < triangleCount; ++t) {
        selected += inGroup(t) ? 1 : 0;
    }
    if (selected == 0) {
        return nullptr;
    }
    std::vector<std::uint8_t> bytes(3 * selected * sizeof(std::uint32_t));
    std::uint8_t* next = bytes.data();
    for (std::size_t t = 0; t < triangleCount; ++t) {
        if (!inGroup(t)) {
            continue;
        }
        for (std::size_t corner = 3 * t; corner < 3 * t + 3; ++corner) {
            const std::uint32_t vertex = welded.vertexOfCorner(topology, corner);
            std::memcpy(next, &vertex, sizeof vertex);
            next += sizeof vertex;
        }
    }
    return scene::GeometryElement::create(scene::makeBytes(std::move(bytes)),
                                          scene::PrimitiveType::triangles, selected,
                                          sizeof(std::uint32_t));
}

bool isMeshDoubleSided(const ComposedPrim& mesh, bool emulated) {
    return emulated || readBool(mesh.attributeValue("doubleSided")).value_or(false);
}

// Every primvar the scene's vertices carry.
struct MeshPrimvars {
    Primvar normals;
    std::vector<Primvar> texcoords;
    ColorPrimvars colors;

    std::vector<const Primvar*> all() const {
        std::vector<const Primvar*> primvars{&normals};
        for (const Primvar& texcoord : texcoords) {
            primvars.push_back(&texcoord);
        }
        for (const auto* color : {&colors.color, &colors.opacity}) {
            if (*color) {
                primvars.push_back(&**color);
            }
        }
        return primvars;
    }
};

MeshPrimvars readPrimvars(const ComposedPrim& mesh, const MeshTopology& topology,
                          const VectorArray& points,
                          const std::vector<ResolvedMaterial>& groupMaterials,
                          SceneReadNotes& notes) {
    MeshPrimvars primvars{meshNormals(mesh, topology, points, notes), {}, {}};
    for (const std::string& attribute : texcoordOrder(mesh, groupMaterials)) {
        if (auto texcoord =
                Primvar::read(mesh, attribute, Interpolation::constant, topology, notes)) {
            primvars.texcoords.push_back(std::move(*texcoord));
        }
    }
    const bool readsColor = std::ranges::any_of(
        groupMaterials, [](const ResolvedMaterial& m) { return m.readsDisplayColor; });
    primvars.colors = colorPrimvars(mesh, topology, readsColor, notes);
    return primvars;
}

using VertexSources = std::vector<std::shared_ptr<scene::GeometrySource>>;

// The values as stored, when the vertices are the points and they are stored in point order.
StoredValues storedInPointOrder(const WeldedVertices& vertices, std::span<const float> floats,
                                bool viewsLayer, const std::shared_ptr<const void>& layerKeeper) {
    if (!vertices.arePoints()) {
        return {};
    }
    return {floats, viewsLayer ? layerKeeper : nullptr};
}

// Positions and normals.
VertexSources pointSources(const VectorArray& points, const MeshPrimvars& primvars,
                           const WeldedVertices& vertices,
                           const std::shared_ptr<const void>& layerKeeper) {
    const Primvar& normals = primvars.normals;
    VertexSources sources;
    sources.push_back(vertexSource<3>(
        GeometrySemantic::vertex, vertices,
        storedInPointOrder(vertices, points.floats(), points.viewsLayer(), layerKeeper),
        [&](const Corner& c) { return glm::vec3(points[c.point]); }));
    sources.push_back(
        vertexSource<3>(GeometrySemantic::normal, vertices,
                        storedInPointOrder(vertices, normals.valuesInPointOrder(3),
                                           normals.valuesViewLayer(), layerKeeper),
                        [&](const Corner& c) { return glm::vec3(normals.value(c)); }));
    return sources;
}

// Texture coordinates and vertex colours.
VertexSources attributeSources(const MeshPrimvars& primvars, const WeldedVertices& vertices) {
    VertexSources sources;
    for (const Primvar& texcoord : primvars.texcoords) {
        sources.push_back(vertexSource<2>(
            GeometrySemantic::texcoord, vertices,
            // flipped on the way, so never viewed
            storedInPointOrder(vertices, texcoord.valuesInPointOrder(2), false, nullptr),
            [&](const Corner& c) { return glm::vec2(texcoord.value(c)); },
            [](glm::vec2 st) { return glm::vec2(st.x, 1.0f - st.y); }));
    }
    const ColorPrimvars& colors = primvars.colors;
    if (colors.color) {
        sources.push_back(
            vertexSource<4>(GeometrySemantic::color, vertices, {}, [&](const Corner& c) {
                const float alpha = colors.opacity ? colors.opacity->value(c).x : 1.0f;
                return glm::vec4(glm::vec3(colors.color->value(c)), alpha);
            }));
    }
    return sources;
}

// Below this many vertices a second thread costs more than it saves.
constexpr std::size_t kVerticesWorthAThread = std::size_t{1} << 16;

// A big mesh's texture coordinates and colours, which are always written anew, are made on a
// second core while the calling thread makes its triangles, positions and normals: all of them
// only read the layer, the primvars and the welded vertices. A small mesh's are made when asked
// for.
std::future<VertexSources> startAttributeSources(const MeshPrimvars& primvars,
                                                 const WeldedVertices& welded) {
    const auto launch =
        welded.vertexCount() >= kVerticesWorthAThread ? std::launch::async : std::launch::deferred;
    return std::async(launch, [&] { return attributeSources(primvars, welded); });
}

struct MeshElements {
    std::vector<std::shared_ptr<scene::GeometryElement>> elements;
    std::vector<std::shared_ptr<scene::Material>> materials;
};

MeshElements meshElements(const std::vector<FaceGroup>& groups,
                          const std::vector<ResolvedMaterial>& groupMaterials,
                          const MeshTopology& topology, const WeldedVertices& welded,
                          const std::shared_ptr<const void>& layerKeeper) {
    MeshElements made;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (auto element = elementFor(groups[i], topology, welded, layerKeeper)) {
            made.elements.push_back(std::move(element));
            made.materials.push_back(groupMaterials[i].material);
        }
    }
    return made;
}

std::vector<std::uint32_t> vertexPointsOf(const WeldedVertices& welded) {
    std::vector<std::uint32_t> points;
    if (!welded.arePoints()) {
        points.reserve(welded.vertexCount());
        for (std::size_t v = 0; v < welded.vertexCount(); ++v) {
            points.push_back(welded.vertex(v).point);
        }
    }
    return points;
}

} // namespace

MeshGeometry buildMeshGeometry(const ComposedPrim& mesh, MaterialResolver& materials,
                               const std::shared_ptr<const void>& layerKeeper,
                               SceneReadNotes& notes, bool keepVertexPoints) {
    const VectorArray points = readVectorArray(mesh.attributeValue("points"));
    if (points.components() != 3 || points.empty()) {
        notes.push_back("The mesh " + mesh.path().text() + " has no points; it is left out.");
        return {};
    }
    const bool emulated = isEmulatedDoubleSided(mesh);
    std::optional<MeshTopology> topology = triangulateMesh(mesh, points.size(), emulated, notes);
    if (!topology || topology->cornerCount() == 0) {
        return {};
    }
    const std::vector<FaceGroup> groups = faceGroups(mesh, topology->faceCount, notes);
    std::vector<ResolvedMaterial> groupMaterials;
    for (const FaceGroup& group : groups) {
        groupMaterials.push_back(
            materials.materialFor(*group.bound, mesh, isMeshDoubleSided(mesh, emulated)));
    }
    const MeshPrimvars primvars = readPrimvars(mesh, *topology, points, groupMaterials, notes);
    WeldedVertices welded = weldVertices(*topology, primvars.all());
    std::future<VertexSources> attributes = startAttributeSources(primvars, welded);
    MeshElements elements = meshElements(groups, groupMaterials, *topology, welded, layerKeeper);
    // The per-corner arrays are the largest of a big mesh: they go as soon as the triangles are
    // made (before a small mesh's vertices are).
    topology.reset();
    welded.releaseCorners();
    VertexSources sources = pointSources(points, primvars, welded, layerKeeper);
    std::ranges::move(attributes.get(), std::back_inserter(sources));

    auto geometry = scene::Geometry::create(std::move(sources), std::move(elements.elements));
    geometry->setName(std::string(mesh.name()));
    geometry->setMaterials(std::move(elements.materials));
    return {std::move(geometry),
            keepVertexPoints ? vertexPointsOf(welded) : std::vector<std::uint32_t>{}};
}

} // namespace usd::reader
