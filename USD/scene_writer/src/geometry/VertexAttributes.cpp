#include "geometry/VertexAttributes.h"

#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <cstring>
#include <string>

namespace usd::writer {
namespace {

using scene::GeometrySemantic;
using scene::GeometrySource;

template <typename Vector, typename Read>
Array<Vector> readVectors(const VertexSelection& selection, Read read) {
    Array<Vector> values;
    reserveWithHugePages(values, selection.size());
    for (std::size_t i = 0; i < selection.size(); ++i)
        values.push_back(read(selection[i]));
    return values;
}

// Reads a source's vectors as floats (integers normalised). Sources of 32-bit floats, nearly
// all of them, are read straight from their bytes rather than a component at a time.
class FloatVectors {
  public:
    explicit FloatVectors(const GeometrySource& source)
        : source_(source),
          direct_(source.usesFloatComponents() && source.bytesPerComponent() == sizeof(float)),
          first_(source.data()->data() + source.dataOffset()),
          vectorBytes_(sizeof(float) *
                       static_cast<std::size_t>(std::min(source.componentsPerVector(), 4))) {}

    glm::vec4 operator()(std::uint32_t vertex) const {
        if (!direct_)
            return glm::vec4(source_.normalizedVector(vertex));
        glm::vec4 vector(0.0f);
        std::memcpy(&vector, first_ + vertex * source_.dataStride(), vectorBytes_);
        return vector;
    }

  private:
    const GeometrySource& source_;
    bool direct_;
    const std::uint8_t* first_;
    std::size_t vectorBytes_;
};

Vec3f xyz(const glm::vec4& v) {
    return {v.x, v.y, v.z};
}

Vec3f xyz(const glm::dvec4& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// A source can serve the selection only when it holds a vector for the largest vertex.
bool covers(const GeometrySource& source, const VertexSelection& selection,
            std::size_t vertexCount) {
    if (source.vectorCount() >= vertexCount)
        return true;
    for (std::size_t i = 0; i < selection.size(); ++i)
        if (selection[i] >= source.vectorCount())
            return false;
    return true;
}

std::shared_ptr<GeometrySource> usableSource(const std::shared_ptr<GeometrySource>& source,
                                             const VertexSelection& selection,
                                             std::size_t vertexCount, Notes& notes) {
    if (!source || covers(*source, selection, vertexCount))
        return source;
    notes.push_back("A " + std::string(scene::semanticName(source->semantic())) +
                    " source has fewer vectors than the geometry has vertices; it was left "
                    "out.");
    return nullptr;
}

Array<Vec3f> readPoints(const GeometrySource& source, const VertexSelection& selection,
                        Notes& notes) {
    if (source.usesFloatComponents())
        return readVectors<Vec3f>(
            selection, [read = FloatVectors(source)](std::uint32_t v) { return xyz(read(v)); });
    notes.push_back("Vertex positions stored as integers were written as they are, without "
                    "normalisation.");
    return readVectors<Vec3f>(selection, [&](std::uint32_t v) { return xyz(source.vector(v)); });
}

std::optional<Array<Vec3f>> readNormals(const GeometrySource* source,
                                        const VertexSelection& selection) {
    if (source == nullptr)
        return std::nullopt;
    auto normals = readVectors<Vec3f>(
        selection, [read = FloatVectors(*source)](std::uint32_t v) { return xyz(read(v)); });
    const bool allZero = std::ranges::all_of(normals, [](const Vec3f& n) {
        return n == Vec3f{0, 0, 0};
    });
    if (allZero)
        return std::nullopt;
    return normals;
}

std::vector<TexCoordChannel> readTexCoords(const std::vector<std::shared_ptr<GeometrySource>>& all,
                                           const VertexSelection& selection,
                                           std::size_t vertexCount, Notes& notes) {
    std::vector<TexCoordChannel> channels;
    for (std::size_t c = 0; c < all.size(); ++c) {
        const auto source = usableSource(all[c], selection, vertexCount, notes);
        if (!source)
            continue;
        channels.push_back({static_cast<int>(c),
                            readVectors<Vec2f>(selection, [read = FloatVectors(*source)](auto v) {
                                const glm::vec4 uv = read(v);
                                return Vec2f{uv.x, static_cast<float>(1.0 - double{uv.y})};
                            })});
    }
    return channels;
}

void readColors(const GeometrySource* source, const VertexSelection& selection,
                VertexAttributes& attributes) {
    if (source == nullptr)
        return;
    const FloatVectors read(*source);
    attributes.colors =
        readVectors<Vec3f>(selection, [&](std::uint32_t v) { return xyz(read(v)); });
    if (source->componentsPerVector() < 4)
        return;
    auto alphas = readVectors<float>(selection, [&](std::uint32_t v) { return read(v).w; });
    if (std::ranges::any_of(alphas, [](float a) { return a < 1.0f; }))
        attributes.opacities = std::move(alphas);
}

template <typename T> void appendCopy(std::optional<Array<T>>& values, std::size_t vertex) {
    if (values)
        values->push_back((*values)[vertex]);
}

} // namespace

std::size_t vertexCountOf(const scene::Geometry& geometry) {
    const auto positions = geometry.firstSource(GeometrySemantic::vertex);
    return positions ? positions->vectorCount() : 0;
}

void VertexAttributes::appendCopyOf(std::size_t vertex) {
    points.push_back(points[vertex]);
    appendCopy(normals, vertex);
    for (TexCoordChannel& channel : texCoords)
        channel.values.push_back(channel.values[vertex]);
    appendCopy(colors, vertex);
    appendCopy(opacities, vertex);
    appendCopy(tangents, vertex);
    if (!origins.empty())
        origins.push_back(origins[vertex]);
}

VertexAttributes gatherVertexAttributes(const scene::Geometry& geometry,
                                        const VertexSelection& selection, Notes& notes) {
    VertexAttributes attributes;
    const auto positions = geometry.firstSource(GeometrySemantic::vertex);
    if (!positions)
        return attributes;
    const std::size_t count = positions->vectorCount();
    const auto usable = [&](GeometrySemantic semantic) {
        return usableSource(geometry.firstSource(semantic), selection, count, notes);
    };
    attributes.points = readPoints(*positions, selection, notes);
    attributes.normals = readNormals(usable(GeometrySemantic::normal).get(), selection);
    attributes.texCoords = readTexCoords(geometry.sourcesForSemantic(GeometrySemantic::texcoord),
                                         selection, count, notes);
    readColors(usable(GeometrySemantic::color).get(), selection, attributes);
    if (const auto tangents = usable(GeometrySemantic::tangent))
        attributes.tangents = readVectors<Vec3f>(
            selection, [read = FloatVectors(*tangents)](std::uint32_t v) { return xyz(read(v)); });
    return attributes;
}

} // namespace usd::writer
