#include "geometry/GeometryPrims.h"

#include "geometry/FaceSides.h"
#include "geometry/PrimitiveCorners.h"
#include "geometry/VertexPrimvars.h"
#include "materials/MaterialLibrary.h"
#include "materials/MaterialVariants.h"

#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <future>
#include <iterator>
#include <numeric>
#include <string>

namespace usd::writer {
namespace {

// The corners of the prim's elements, one after the other in a single array (a big mesh's
// are millions), and how many each element has.
struct PrimCorners {
    CornerIndices corners;
    struct Element {
        std::size_t element;
        std::size_t cornerCount;
    };
    std::vector<Element> elements;
};

PrimCorners readElements(GeometryContext& context, const scene::Geometry& geometry,
                         const GeometryPrimPlan& plan) {
    const std::size_t vertexCount = vertexCountOf(geometry);
    PrimCorners result;
    for (const std::size_t e : plan.elements) {
        PrimitiveCorners read = readPrimitiveCorners(*geometry.elements()[e], vertexCount);
        if (read.outOfRange > 0)
            context.notes.push_back(std::to_string(read.outOfRange) +
                                    " primitive(s) with an index past the vertices were left "
                                    "out.");
        result.elements.push_back({e, read.corners.size()});
        if (result.corners.empty())
            result.corners = std::move(read.corners);
        else
            result.corners.insert(result.corners.end(), read.corners.begin(), read.corners.end());
    }
    return result;
}

// Renumbers the corners to the vertices they use, in order of first use; returns the source
// vertex of each new one.
std::vector<std::uint32_t> compactVertices(CornerIndices& corners, std::size_t vertexCount) {
    constexpr std::int32_t unused = -1;
    std::vector<std::int32_t> newIndex(vertexCount, unused);
    std::vector<std::uint32_t> selection;
    for (std::int32_t& corner : corners) {
        std::int32_t& renumbered = newIndex[static_cast<std::size_t>(corner)];
        if (renumbered == unused) {
            renumbered = static_cast<std::int32_t>(selection.size());
            selection.push_back(static_cast<std::uint32_t>(corner));
        }
        corner = renumbered;
    }
    return selection;
}

// The corners of a mesh's elements and the vertices they use.
struct MeshData {
    PrimCorners read;
    VertexAttributes attributes;
};

// Below this many vertices a second thread costs more than it saves.
constexpr std::size_t kVerticesWorthAThread = std::size_t{1} << 16;

// A mesh that keeps all its geometry's vertices reads them on a second core while its corners
// are read: both only read the geometry, and each notes what it finds, the corners' first.
MeshData readMesh(GeometryContext& context, const scene::Geometry& geometry,
                  const GeometryPrimPlan& plan, bool keepOrigins) {
    const std::size_t vertexCount = vertexCountOf(geometry);
    if (!plan.sharesAllVertices) {
        MeshData mesh{readElements(context, geometry, plan), {}};
        std::vector<std::uint32_t> used = compactVertices(mesh.read.corners, vertexCount);
        mesh.attributes =
            gatherVertexAttributes(geometry, VertexSelection::listed(used), context.notes);
        if (keepOrigins)
            mesh.attributes.origins = std::move(used);
        return mesh;
    }
    Notes vertexFindings;
    const auto launch =
        vertexCount >= kVerticesWorthAThread ? std::launch::async : std::launch::deferred;
    auto attributes = std::async(launch, [&] {
        return gatherVertexAttributes(geometry, VertexSelection::all(vertexCount), vertexFindings);
    });
    MeshData mesh{readElements(context, geometry, plan), attributes.get()};
    std::ranges::move(vertexFindings, std::back_inserter(context.notes));
    if (keepOrigins) {
        mesh.attributes.origins.resize(vertexCount);
        std::iota(mesh.attributes.origins.begin(), mesh.attributes.origins.end(), 0u);
    }
    return mesh;
}

// Colours and opacities that change how the prim looks reach its materials; white and opaque
// vertices change nothing, and their materials stay the plain ones.
VertexColorUse vertexColorUseOf(const VertexAttributes& attributes) {
    const bool tinted = attributes.colors && std::ranges::any_of(*attributes.colors, [](auto c) {
                            return c != Vec3f{1, 1, 1};
                        });
    return {tinted, attributes.opacities.has_value()};
}

const WrittenMaterial& materialOf(GeometryContext& context, const scene::Geometry& geometry,
                                  std::size_t element, VertexColorUse colors) {
    return context.materials.use(geometry.materialForElement(element), colors);
}

void noteMissingChannels(GeometryContext& context, const WrittenMaterial& material,
                         const VertexAttributes& attributes) {
    for (const int channel : material.texCoordChannels) {
        const bool present = std::ranges::any_of(
            attributes.texCoords, [&](const TexCoordChannel& c) { return c.channel == channel; });
        if (!present)
            context.notes.push_back("A texture reads texture coordinates " +
                                    std::to_string(channel) +
                                    ", which the geometry does not have.");
    }
}

// Multiplies the prim's vertex colours and opacities by what its materials' primvar readers
// cannot (their constant colour and opacity); a prim whose materials or looks ask for
// different factors keeps its own values, and the user is told.
void scaleVertexColors(GeometryContext& context, const Path& prim,
                       const std::vector<const WrittenMaterial*>& materials,
                       VertexAttributes& attributes) {
    const VertexColorScale& scale = materials.front()->vertexColorScale;
    if (std::ranges::any_of(materials,
                            [&](const auto* m) { return m->vertexColorScale != scale; })) {
        context.notes.push_back(prim.text() +
                                ": the vertex colours are shown without the base colours "
                                "of its several materials, which tint them differently.");
        return;
    }
    if (attributes.colors && scale.color != Vec3f{1, 1, 1})
        for (Vec3f& color : *attributes.colors)
            for (int channel = 0; channel < 3; ++channel)
                color[channel] *= scale.color[channel];
    if (attributes.opacities && scale.opacity != 1.0f)
        for (float& opacity : *attributes.opacities)
            opacity *= scale.opacity;
}

// The texture coordinates the prim's materials read: channels it lacks are reported, channels
// moved by shearing maps are baked, to be authored after the other primvars.
std::vector<BakedPrimvar> materialTexCoords(GeometryContext& context,
                                            const std::vector<const WrittenMaterial*>& materials,
                                            const VertexAttributes& attributes) {
    std::vector<BakedTexCoords> bakes;
    for (const WrittenMaterial* material : materials) {
        noteMissingChannels(context, *material, attributes);
        bakes.insert(bakes.end(), material->bakedTexCoords.begin(), material->bakedTexCoords.end());
    }
    return bakedTexCoords(attributes, bakes);
}

// Per-face material bindings: each element's faces (and their back-face copies) in a subset.
void writeSubsets(GeometryContext& context, const Path& mesh, const scene::Geometry& geometry,
                  const std::vector<PrimCorners::Element>& elements, std::size_t copiedFaces,
                  VertexColorUse colors) {
    LayerBuilder& build = context.build;
    build.addAttribute(mesh, "subsetFamily:materialBind:familyType",
                       {"token", Token{"partition"}, Variability::Uniform});
    SiblingNames names;
    std::int32_t firstFace = 0;
    for (const PrimCorners::Element& element : elements) {
        const auto faceCount = static_cast<std::int32_t>(element.cornerCount / 3);
        Array<std::int32_t> faces(static_cast<std::size_t>(faceCount));
        std::iota(faces.begin(), faces.end(), firstFace);
        for (std::int32_t f = 0; copiedFaces > 0 && f < faceCount; ++f)
            faces.push_back(firstFace + f + static_cast<std::int32_t>(copiedFaces));
        firstFace += faceCount;
        const Path subset =
            build.definePrim(mesh.appendChild(names.claim("subset", "subset")), "GeomSubset");
        build.addAttribute(subset, "elementType", {"token", Token{"face"}, Variability::Uniform});
        build.addAttribute(subset, "familyName",
                           {"token", Token{"materialBind"}, Variability::Uniform});
        build.addAttribute(subset, "indices", {"int[]", std::move(faces)});
        bindMaterial(build, subset, materialOf(context, geometry, element.element, colors).path);
    }
}

std::vector<const WrittenMaterial*> materialsOf(GeometryContext& context,
                                                const scene::Geometry& geometry,
                                                const std::vector<PrimCorners::Element>& elements,
                                                VertexColorUse colors) {
    std::vector<const WrittenMaterial*> materials;
    for (const PrimCorners::Element& element : elements)
        materials.push_back(&materialOf(context, geometry, element.element, colors));
    return materials;
}

// The variants' materials read texture coordinates from the same prim as its own one; a
// prim with several materials gets no variants.
std::vector<const WrittenMaterial*>
withVariantMaterials(GeometryContext& context, const scene::Geometry& geometry,
                     std::vector<const WrittenMaterial*> materials, VertexColorUse colors) {
    if (materials.size() != 1)
        return materials;
    for (const scene::MaterialVariant& look : geometry.materialVariants())
        materials.push_back(&context.materials.use(look.material, colors));
    return materials;
}

// Every face is a triangle: a large array of threes.
Array<std::int32_t> triangleCounts(std::size_t faceCount) {
    Array<std::int32_t> counts;
    reserveWithHugePages(counts, faceCount);
    counts.assign(faceCount, 3);
    return counts;
}

Dictionary writeMesh(GeometryContext& context, const Path& prim, const scene::Geometry& geometry,
                     const GeometryPrimPlan& plan, const PointOriginsUse& useOrigins) {
    auto [read, attributes] = readMesh(context, geometry, plan, static_cast<bool>(useOrigins));
    CornerIndices& corners = read.corners;
    if (attributes.normals)
        repairNormals(*attributes.normals, attributes.points, corners);

    const auto firstMaterial = geometry.materialForElement(plan.elements.front());
    const std::size_t faceCount = corners.size() / 3;
    const bool emulateDoubleSided = firstMaterial && firstMaterial->doubleSided;
    if (emulateDoubleSided)
        appendBackFaces(attributes, corners);
    else if (firstMaterial && firstMaterial->cullMode == scene::CullMode::front)
        turnFacesAround(attributes, corners);

    LayerBuilder& build = context.build;
    const VertexColorUse colors = vertexColorUseOf(attributes);
    const auto materials = materialsOf(context, geometry, read.elements, colors);
    const auto looks = withVariantMaterials(context, geometry, materials, colors);
    std::vector<BakedPrimvar> baked = materialTexCoords(context, looks, attributes);
    scaleVertexColors(context, prim, looks, attributes);
    const std::vector<std::uint32_t> origins = std::move(attributes.origins);
    writeVertexAttributes(build, prim, std::move(attributes));
    if (useOrigins)
        useOrigins(origins);
    build.addAttribute(prim, "faceVertexCounts", {"int[]", triangleCounts(corners.size() / 3)});
    build.addAttribute(prim, "faceVertexIndices", {"int[]", std::move(corners)});
    build.addAttribute(prim, "subdivisionScheme", {"token", Token{"none"}, Variability::Uniform});
    build.addAttribute(prim, "doubleSided", {"bool", false, Variability::Uniform});
    writeBakedTexCoords(build, prim, std::move(baked));
    if (read.elements.size() == 1) {
        bindMaterial(build, prim, materials.front()->path);
        writeMaterialVariants(build, context.materials, prim, geometry, firstMaterial,
                              emulateDoubleSided ? 2 * faceCount : faceCount, colors);
    } else {
        writeSubsets(context, prim, geometry, read.elements, emulateDoubleSided ? faceCount : 0,
                     colors);
        if (!geometry.materialVariants().empty())
            context.notes.push_back(prim.text() + ": the material variants of a mesh drawn "
                                                  "with several materials are left out.");
    }
    Dictionary customData;
    if (emulateDoubleSided)
        customData.set("emulatedDoubleSided", true);
    return customData;
}

// Points and line segments are written de-indexed: one USD point per corner.
void writePointsOrCurves(GeometryContext& context, const Path& prim,
                         const scene::Geometry& geometry, const GeometryPrimPlan& plan,
                         const PointOriginsUse& useOrigins) {
    const PrimCorners read = readElements(context, geometry, plan);
    const std::vector<std::uint32_t> corners(read.corners.begin(), read.corners.end());
    VertexAttributes attributes =
        gatherVertexAttributes(geometry, VertexSelection::listed(corners), context.notes);
    const WrittenMaterial& material =
        materialOf(context, geometry, plan.elements.front(), vertexColorUseOf(attributes));
    std::vector<BakedPrimvar> baked = materialTexCoords(context, {&material}, attributes);
    scaleVertexColors(context, prim, {&material}, attributes);
    LayerBuilder& build = context.build;
    writeVertexAttributes(build, prim, std::move(attributes));
    if (useOrigins)
        useOrigins(corners);
    const Path widths = build.addAttribute(prim, "widths", {"float[]", Array<float>{0.01f}});
    build.setMetadata(widths, "interpolation", Token{"constant"});
    if (plan.kind == GeometryPrimKind::curves) {
        build.addAttribute(prim, "type", {"token", Token{"linear"}, Variability::Uniform});
        build.addAttribute(prim, "wrap", {"token", Token{"nonperiodic"}, Variability::Uniform});
        build.addAttribute(prim, "curveVertexCounts",
                           {"int[]", Array<std::int32_t>(corners.size() / 2, 2)});
    }
    writeBakedTexCoords(build, prim, std::move(baked));
    bindMaterial(build, prim, material.path);
}

} // namespace

Dictionary writeGeometryPrim(GeometryContext& context, const Path& prim,
                             const scene::Geometry& geometry, const GeometryPrimPlan& plan,
                             const PointOriginsUse& useOrigins) {
    if (plan.kind == GeometryPrimKind::mesh)
        return writeMesh(context, prim, geometry, plan, useOrigins);
    writePointsOrCurves(context, prim, geometry, plan, useOrigins);
    return {};
}

} // namespace usd::writer
