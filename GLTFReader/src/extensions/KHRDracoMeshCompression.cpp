// Primitives compressed with Draco, decoded with the library's mesh decoder.
#include "KHRDracoMeshCompression.h"

#include "DracoMeshCounts.h"
#include "ExtensionRecord.h"

#include <GLTFReader/AccessorTables.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/JsonDecoder.h>
#include <algorithm>
#include <cstring>
#include <draco/compression/decode.h>
#include <limits>
#include <type_traits>

namespace gltf::extensions {
namespace {

[[noreturn]] void refuse(const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadMesh: KHR_draco_mesh_compression " + problem);
}

std::unique_ptr<draco::Mesh> decodeMesh(const gltf::ByteSlice& bytes, std::int64_t viewIndex) {
    draco::DecoderBuffer buffer;
    buffer.Init(reinterpret_cast<const char*>(bytes.bytes().data()), bytes.size);
    draco::Decoder decoder;
    auto decoded = decoder.DecodeMeshFromBuffer(&buffer);
    if (!decoded.ok()) {
        refuse("data in bufferView " + std::to_string(viewIndex) +
               " does not decode: " + decoded.status().error_msg_string());
    }
    return std::move(decoded).value();
}

const GLTFAccessor& accessorFor(const GLTFGlTF& document, std::int64_t index,
                                const std::string& attribute) {
    if (!document.accessors || index < 0 ||
        static_cast<std::size_t>(index) >= document.accessors->size()) {
        refuse("attribute " + attribute + " names accessor " + std::to_string(index) +
               ", which does not exist");
    }
    return (*document.accessors)[static_cast<std::size_t>(index)];
}

// Indices a triangle list or strip of `faces` triangles takes.
std::uint64_t indicesFor(std::uint64_t faces, std::int64_t mode) {
    return mode == 5 ? faces + 2 : faces * 3;
}

// The library sets memory aside for the faces the data states before decoding them: a count
// the data could not hold, or one the primitive's indices could not, is refused first.
void checkFaceCount(std::span<const std::uint8_t> data, std::int64_t viewIndex,
                    const GLTFMeshPrimitive& primitive, std::int64_t mode,
                    const GLTFGlTF& document) {
    const std::optional<DracoMeshCounts> counts = dracoMeshCounts(data);
    if (!counts) {
        return;
    }
    const std::string claim = "data in bufferView " + std::to_string(viewIndex) + " claims " +
                              std::to_string(counts->faces) + " triangles";
    if (counts->faces > counts->mostFacesInData) {
        refuse(claim + ", more than its " + std::to_string(data.size()) + " bytes can hold");
    }
    if (!primitive.indices || !document.accessors || *primitive.indices < 0 ||
        static_cast<std::size_t>(*primitive.indices) >= document.accessors->size()) {
        return;
    }
    const std::int64_t declared =
        (*document.accessors)[static_cast<std::size_t>(*primitive.indices)].count;
    if (indicesFor(counts->faces, mode) >
        static_cast<std::uint64_t>(std::max<std::int64_t>(declared, 0))) {
        refuse(claim + ", more than the " + std::to_string(declared) + " indices of accessor " +
               std::to_string(*primitive.indices) + " hold");
    }
}

// What a quantized attribute's integers are divided by to read as [0, 1] or [-1, 1]: glTF marks
// them normalized on the accessor, while the Draco stream may leave its own attribute unmarked
// and hand back the stored integers. One where nothing is to be divided.
double normalizingDivisor(const draco::PointAttribute& attribute, const GLTFAccessor& accessor) {
    if (!accessor._normalized.value_or(false) || attribute.normalized()) {
        return 1.0;
    }
    switch (attribute.data_type()) {
    case draco::DT_INT8:
        return 127.0;
    case draco::DT_UINT8:
        return 255.0;
    case draco::DT_INT16:
        return 32767.0;
    case draco::DT_UINT16:
        return 65535.0;
    default:
        return 1.0;
    }
}

// Each point's components; floats are divided by `divisor` (the most negative integer, which
// has no positive twin, stays at -1).
template <class Component>
scene::Bytes pointValues(const draco::Mesh& mesh, const draco::PointAttribute& attribute,
                         int components, double divisor = 1.0) {
    std::vector<std::uint8_t> bytes(mesh.num_points() * static_cast<std::size_t>(components) *
                                    sizeof(Component));
    std::vector<Component> vector(static_cast<std::size_t>(components));
    for (draco::PointIndex point(0); point < mesh.num_points(); ++point) {
        if (!attribute.ConvertValue<Component>(attribute.mapped_index(point),
                                               static_cast<std::int8_t>(components),
                                               vector.data())) {
            refuse("holds an attribute that cannot be read as numbers");
        }
        if constexpr (std::is_floating_point_v<Component>) {
            for (Component& value : vector) {
                value = divisor == 1.0 ? value
                                       : static_cast<Component>(std::max(value / divisor, -1.0));
            }
        }
        std::memcpy(bytes.data() + point.value() * vector.size() * sizeof(Component), vector.data(),
                    vector.size() * sizeof(Component));
    }
    return scene::makeBytes(std::move(bytes));
}

// Joint indices are whole numbers; every other attribute reads as floats.
std::shared_ptr<scene::GeometrySource> decodedSource(const draco::Mesh& mesh,
                                                     const draco::PointAttribute& attribute,
                                                     const GLTFAccessor& accessor,
                                                     scene::GeometrySemantic semantic) {
    const std::optional<int> components = gltf::componentsPerElement(accessor.type);
    if (!components || *components != attribute.num_components()) {
        refuse("attribute of " + std::to_string(attribute.num_components()) +
               " components does not fit accessor type " + accessor.type);
    }
    // No accessor holds booleans, and the library reads stored values as the type they claim:
    // a boolean byte other than 0 or 1 would be read as no value of its type at all.
    if (attribute.data_type() == draco::DT_BOOL) {
        refuse("attribute of booleans does not fit accessor type " + accessor.type);
    }
    if (semantic == scene::GeometrySemantic::boneIndices) {
        const scene::SourceLayout layout{.vectorCount = mesh.num_points(),
                                         .usesFloatComponents = false,
                                         .signedComponents = false,
                                         .componentsPerVector = *components,
                                         .bytesPerComponent = 2,
                                         .dataOffset = 0,
                                         .dataStride = static_cast<std::size_t>(*components) * 2};
        return scene::GeometrySource::create(
            pointValues<std::uint16_t>(mesh, attribute, *components), semantic, layout);
    }
    return scene::GeometrySource::fromPackedFloats(
        semantic,
        pointValues<float>(mesh, attribute, *components, normalizingDivisor(attribute, accessor)),
        *components);
}

std::shared_ptr<scene::GeometryElement> triangleIndices(const draco::Mesh& mesh) {
    std::vector<std::uint32_t> indices;
    indices.reserve(mesh.num_faces() * 3);
    for (draco::FaceIndex face(0); face < mesh.num_faces(); ++face) {
        for (const draco::PointIndex& corner : mesh.face(face)) {
            indices.push_back(corner.value());
        }
    }
    return scene::GeometryElement::fromIndices<std::uint32_t>(indices,
                                                              scene::PrimitiveType::triangles);
}

} // namespace

DracoPrimitive DracoPrimitive::decode(const gltf::JsonObject& json) {
    return {
        .bufferView = json.required<std::int64_t>("bufferView"),
        .attributes = json.required<std::map<std::string, std::int64_t>>("attributes"),
    };
}

KHRDracoMeshCompression KHRDracoMeshCompression::decode(const gltf::JsonObject& extensions) {
    KHRDracoMeshCompression result;
    result.data = extensions.optional<DracoPrimitive>(extensionName);
    return result;
}

const DracoPrimitive* dracoCompression(const GLTFMeshPrimitive& primitive) {
    return extensionData<KHRDracoMeshCompression>(primitive.extensions);
}

struct DracoMesh::Decoded {
    std::unique_ptr<draco::Mesh> mesh;
};

DracoMesh::DracoMesh(GLTFUnarchiver& unarchiver, const DracoPrimitive& draco,
                     const GLTFMeshPrimitive& primitive)
    : document_(unarchiver.json()), draco_(draco), decoded_(std::make_unique<Decoded>()) {
    const std::int64_t mode = primitive._mode.value_or(4);
    if (mode != 4 && mode != 5) {
        refuse("cannot hold primitives of mode " + std::to_string(mode));
    }
    const gltf::ByteSlice data = unarchiver.loadBufferView(draco.bufferView);
    checkFaceCount(data.bytes(), draco.bufferView, primitive, mode, document_);
    decoded_->mesh = decodeMesh(data, draco.bufferView);
}

DracoMesh::~DracoMesh() = default;

std::shared_ptr<scene::GeometrySource> DracoMesh::source(const std::string& name,
                                                         std::int64_t accessorIndex,
                                                         scene::GeometrySemantic semantic) const {
    const auto compressed = draco_.attributes.find(name);
    if (compressed == draco_.attributes.end()) {
        return nullptr;
    }
    const std::int64_t id = compressed->second;
    const draco::PointAttribute* attribute =
        id < 0 || id > std::numeric_limits<std::uint32_t>::max()
            ? nullptr
            : decoded_->mesh->GetAttributeByUniqueId(static_cast<std::uint32_t>(id));
    if (attribute == nullptr) {
        refuse("has no attribute " + std::to_string(id) + " for " + name);
    }
    return decodedSource(*decoded_->mesh, *attribute, accessorFor(document_, accessorIndex, name),
                         semantic);
}

std::shared_ptr<scene::GeometryElement> DracoMesh::triangles() const {
    return triangleIndices(*decoded_->mesh);
}

} // namespace gltf::extensions
