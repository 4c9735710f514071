// Accessors: vertex sources and index elements over the buffer views' bytes, key times and
// key values read into boxed numbers and vectors. All four loaders share the accessor cache.
#include "CheckedArithmetic.h"
#include "ElementPlacement.h"
#include "LoadStopping.h"
#include "SparseAccessors.h"
#include "extensions/KHRMeshQuantization.h"

#include <GLTFReader/AccessorTables.h>
#include <GLTFReader/ConsoleOutput.h>
#include <GLTFReader/DocumentLimits.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <algorithm>
#include <any>
#include <charconv>
#include <cstring>
#include <string>

namespace {

const GLTFAccessor& accessorRecord(const GLTFGlTF& document, std::int64_t index,
                                   const std::string& operation) {
    if (!document.accessors) {
        throw GLTFUnarchiveError::dataInconsistent(operation + ": accessors is not defined");
    }
    return (*document.accessors)[static_cast<std::size_t>(index)];
}

// The kind a loader produces, when the slot already holds one; another loader's product is
// refused, since the slot is shared.
template <class Product>
const Product& cachedAs(const std::any& slot, const std::string& operation, std::int64_t index,
                        std::string_view productName) {
    if (const auto* product = std::any_cast<Product>(&slot)) {
        return *product;
    }
    throw GLTFUnarchiveError::dataInconsistent(operation + ": the accessor " +
                                               std::to_string(index) + " is not " +
                                               std::string(productName));
}

[[noreturn]] void refuseUnsupported(const std::string& operation, std::string_view field) {
    throw GLTFUnarchiveError::notSupported(operation + ": user defined accessor." +
                                           std::string(field) + " is not supported");
}

template <class Value>
Value requireInTable(std::optional<Value> entry, const std::string& operation,
                     std::string_view field) {
    if (!entry) {
        refuseUnsupported(operation, field);
    }
    return *entry;
}

std::size_t nonNegative(std::int64_t number, const std::string& operation, std::int64_t index,
                        std::string_view field) {
    if (number < 0) {
        throw GLTFUnarchiveError::dataInconsistent(
            operation + ": the accessor " + std::to_string(index) + " has a negative " +
            std::string(field) + ": " + std::to_string(number));
    }
    return static_cast<std::size_t>(number);
}

gltf::ElementPlacement placementOf(const GLTFAccessor& accessor, std::size_t stride,
                                   std::size_t elementSize, const std::string& operation,
                                   std::int64_t index) {
    return {.offset = nonNegative(accessor._byteOffset.value_or(0), operation, index, "byteOffset"),
            .stride = stride,
            .count = nonNegative(accessor.count, operation, index, "count"),
            .elementSize = elementSize};
}

void requireInside(const gltf::ElementPlacement& placement, std::size_t available,
                   const std::string& operation, std::int64_t index) {
    const std::optional<std::size_t> end = gltf::stridedRangeEnd(
        placement.offset, placement.stride, placement.count, placement.elementSize);
    if (!end || *end > available) {
        throw GLTFUnarchiveError::dataInconsistent(
            operation + ": the accessor " + std::to_string(index) +
            " reads beyond its data: " + std::to_string(placement.count) + " elements of " +
            std::to_string(placement.elementSize) + " bytes, " + std::to_string(placement.stride) +
            " bytes apart from byte " + std::to_string(placement.offset) + ", in " +
            std::to_string(available) + " bytes");
    }
}

// An accessor without a buffer view reads as zeros.
gltf::ByteSlice zeroBytes(std::size_t size) {
    return gltf::ByteSlice::whole(scene::makeBytes(std::vector<std::uint8_t>(size, 0)));
}

// The view's declared stride, or the element size when it declares none.
std::size_t strideOf(std::optional<std::int64_t> declared, std::size_t elementSize,
                     const std::string& operation) {
    const std::int64_t stride = declared.value_or(static_cast<std::int64_t>(elementSize));
    if (stride < static_cast<std::int64_t>(elementSize)) {
        throw GLTFUnarchiveError::dataInconsistent(
            operation + ": dataStride is too small: " + std::to_string(stride) + " < " +
            std::to_string(elementSize));
    }
    return static_cast<std::size_t>(stride);
}

template <class Number> Number readLittleEndian(const std::uint8_t* at) {
    Number number;
    std::memcpy(&number, at, sizeof number);
    return number;
}

// Integer components of key values can only mean normalised numbers; floats are taken as
// they are.
double readComponent(const std::uint8_t* at, std::int64_t componentType) {
    switch (componentType) {
    case 5120:
        return std::max(readLittleEndian<std::int8_t>(at) / 127.0, -1.0);
    case 5121:
        return readLittleEndian<std::uint8_t>(at) / 255.0;
    case 5122:
        return std::max(readLittleEndian<std::int16_t>(at) / 32767.0, -1.0);
    case 5123:
        return readLittleEndian<std::uint16_t>(at) / 65535.0;
    case 5125:
        return readLittleEndian<std::uint32_t>(at) / 4294967295.0;
    default:
        return readLittleEndian<float>(at);
    }
}

// Single-precision numbers in their shortest round-trip form, always with a fraction or an
// exponent ("1.0", "0.041666668").
std::string shortestText(float number) {
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), number);
    std::string written(text, result.ptr);
    if (written.find_first_not_of("-0123456789") == std::string::npos) {
        written += ".0";
    }
    return written;
}

void traceKeyTimes(const std::vector<float>& times, float duration) {
    gltf::writeConsoleLine("duration: " + shortestText(duration));
    for (const float time : times) {
        gltf::writeConsoleLine("dur val: " + shortestText(time));
    }
}

// A single key at time 0 has no length to divide by; it stays at fraction 0.
std::vector<scene::Value> fractionsOf(const std::vector<float>& times, float duration) {
    std::vector<scene::Value> fractions;
    fractions.reserve(times.size());
    for (const float time : times) {
        fractions.emplace_back(duration == 0 ? 0.0f : time / duration);
    }
    return fractions;
}

scene::Value readValue(const std::uint8_t* at, std::int64_t componentType, int components) {
    const std::size_t componentSize = *gltf::bytesPerComponent(componentType);
    const auto component = [&](int number) {
        return static_cast<double>(
            static_cast<float>(readComponent(at + number * componentSize, componentType)));
    };
    if (components == 1) {
        return component(0);
    }
    if (components == 3) {
        return glm::dvec3(component(0), component(1), component(2));
    }
    return glm::dvec4(component(0), component(1), component(2), component(3));
}

// Only numbers, 3-vectors and 4-vectors serve as key values; other element types read as no
// values.
bool isKeyValueType(std::string_view type) {
    return type == "SCALAR" || type == "VEC3" || type == "VEC4";
}

} // namespace

std::shared_ptr<scene::GeometrySource>
GLTFUnarchiver::loadVertexAccessor(std::int64_t index, scene::GeometrySemantic semantic) {
    gltf::throwIfLoadStopRequested();
    const std::string operation = "loadVertexAccessor";
    const auto build = [&] {
        const GLTFAccessor& accessor = accessorRecord(json_, index, operation);
        const bool isFloat = requireInTable(gltf::componentIsFloat(accessor.componentType),
                                            operation, "componentType");
        const int components =
            requireInTable(gltf::componentsPerElement(accessor.type), operation, "type");
        const int componentSize = *gltf::bytesPerComponent(accessor.componentType);
        const auto vectorSize = static_cast<std::size_t>(components * componentSize);
        const auto [data, placement] = placedElements(accessor, index, vectorSize, operation);
        const scene::SourceLayout layout{.vectorCount = placement.count,
                                         .usesFloatComponents = isFloat,
                                         .signedComponents =
                                             gltf::componentIsSigned(accessor.componentType),
                                         .componentsPerVector = components,
                                         .bytesPerComponent = componentSize,
                                         .dataOffset = data.offset + placement.offset,
                                         .dataStride = placement.stride};
        return std::any(gltf::extensions::asFloatSource(
            scene::GeometrySource::create(data.block, semantic, layout), accessor, index,
            operation));
    };
    const auto runHook = [&](const std::any& source) {
        gltf::onLoaded((*json_.accessors)[static_cast<std::size_t>(index)], source, *this);
    };
    return cachedAs<std::shared_ptr<scene::GeometrySource>>(
        caches_.accessors.load(index, operation, build, runHook), operation, index,
        "SCNGeometrySource");
}

std::shared_ptr<scene::GeometryElement> GLTFUnarchiver::loadIndexAccessor(std::int64_t index,
                                                                          std::int64_t mode) {
    gltf::throwIfLoadStopRequested();
    const std::string operation = "loadIndexAccessor";
    const auto build = [&] {
        const GLTFAccessor& accessor = accessorRecord(json_, index, operation);
        const std::optional<scene::PrimitiveType> primitiveType = gltf::primitiveTypeForMode(mode);
        if (!primitiveType) {
            throw GLTFUnarchiveError::notSupported(operation + ": primitve mode " +
                                                   std::to_string(mode) + " is not supported");
        }
        if (requireInTable(gltf::componentIsFloat(accessor.componentType), operation,
                           "componentType")) {
            throw GLTFUnarchiveError::dataInconsistent(operation +
                                                       ": cannot use Float for index accessor");
        }
        if (requireInTable(gltf::componentsPerElement(accessor.type), operation, "type") != 1) {
            throw GLTFUnarchiveError::dataInconsistent(operation +
                                                       ": accessor type must be SCALAR");
        }
        const int indexSize = *gltf::bytesPerComponent(accessor.componentType);
        const IndexBytes indices =
            readIndexBytes(accessor, index, static_cast<std::size_t>(indexSize));
        return std::any(
            scene::GeometryElement::create(indices.data.block, *primitiveType,
                                           scene::primitiveCountFor(*primitiveType, indices.count),
                                           indexSize, indices.data.offset));
    };
    const auto runHook = [&](const std::any& element) {
        gltf::onLoaded((*json_.accessors)[static_cast<std::size_t>(index)], element, *this);
    };
    return cachedAs<std::shared_ptr<scene::GeometryElement>>(
        caches_.accessors.load(index, operation, build, runHook), operation, index,
        "SCNGeometryElement");
}

GLTFUnarchiver::IndexBytes GLTFUnarchiver::readIndexBytes(const GLTFAccessor& accessor,
                                                          std::int64_t index,
                                                          std::size_t indexSize) {
    const auto [view, placement] = placedElements(accessor, index, indexSize, "loadIndexAccessor");
    if (placement.stride == indexSize) {
        return {.data = {.block = view.block,
                         .offset = view.offset + placement.offset,
                         .size = placement.count * indexSize},
                .count = placement.count};
    }
    // Elements hold indices of one width packed one after another: interleaved indices get a
    // block of their own.
    std::vector<std::uint8_t> packed(placement.count * indexSize);
    const std::uint8_t* first = view.bytes().data() + placement.offset;
    for (std::size_t position = 0; position < placement.count; ++position) {
        std::memcpy(packed.data() + position * indexSize, first + position * placement.stride,
                    indexSize);
    }
    return {.data = gltf::ByteSlice::whole(scene::makeBytes(std::move(packed))),
            .count = placement.count};
}

std::pair<std::vector<scene::Value>, double>
GLTFUnarchiver::loadKeyTimeAccessor(std::int64_t index) {
    const std::string operation = "loadKeyTimeAccessor";
    double duration = 0;
    const auto build = [&] {
        const GLTFAccessor& accessor = accessorRecord(json_, index, operation);
        if (!requireInTable(gltf::componentIsFloat(accessor.componentType), operation,
                            "componentType")) {
            throw GLTFUnarchiveError::dataInconsistent(operation + ": not Float keyTime accessor");
        }
        if (requireInTable(gltf::componentsPerElement(accessor.type), operation, "type") != 1) {
            throw GLTFUnarchiveError::dataInconsistent(operation +
                                                       ": accessor type must be SCALAR");
        }
        const std::vector<float> times = readKeyTimes(accessor, index);
        const float last = times.empty() ? 0.0f : times.back();
        traceKeyTimes(times, last);
        duration = last;
        return std::any(fractionsOf(times, last));
    };
    const auto storeDuration = [&](const std::any&) {
        caches_.durations.load(index, operation, [&] { return duration; });
    };
    const auto& keyTimes = cachedAs<std::vector<scene::Value>>(
        caches_.accessors.load(index, operation, build, storeDuration), operation, index,
        "[Float]");
    // Values read by loadValueAccessor share the slot but carry no duration.
    const double storedDuration = caches_.durations.load(index, operation, [&]() -> double {
        throw GLTFUnarchiveError::dataInconsistent(operation + ": the accessor " +
                                                   std::to_string(index) +
                                                   " holds key values, not key times");
    });
    return {keyTimes, storedDuration};
}

std::vector<float> GLTFUnarchiver::readKeyTimes(const GLTFAccessor& accessor, std::int64_t index) {
    const auto [data, placement] =
        placedElements(accessor, index, sizeof(float), "loadKeyTimeAccessor");
    std::vector<float> times(placement.count);
    const std::uint8_t* first = data.bytes().data() + placement.offset;
    for (std::size_t key = 0; key < placement.count; ++key) {
        times[key] = readLittleEndian<float>(first + key * placement.stride);
    }
    return times;
}

std::vector<scene::Value> GLTFUnarchiver::loadValueAccessor(std::int64_t index) {
    const std::string operation = "loadValueAccessor";
    const auto build = [&] {
        const GLTFAccessor& accessor = accessorRecord(json_, index, operation);
        if (!accessor.bufferView && !accessor.sparse) {
            throw GLTFUnarchiveError::dataInconsistent(operation + ": bufferView is not defined");
        }
        const int componentSize = requireInTable(gltf::bytesPerComponent(accessor.componentType),
                                                 operation, "componentType");
        const int components =
            requireInTable(gltf::componentsPerElement(accessor.type), operation, "type");
        std::vector<scene::Value> values;
        if (!isKeyValueType(accessor.type)) {
            return std::any(values);
        }
        const auto elementSize = static_cast<std::size_t>(componentSize * components);
        iterateElements(accessor, index, elementSize, operation, [&](const std::uint8_t* element) {
            values.push_back(readValue(element, accessor.componentType, components));
        });
        return std::any(std::move(values));
    };
    return cachedAs<std::vector<scene::Value>>(caches_.accessors.load(index, operation, build),
                                               operation, index, "[Float]");
}

void GLTFUnarchiver::chargeMadeBytes(std::size_t count, std::size_t elementSize,
                                     const std::string& operation, std::int64_t index) {
    const std::optional<std::size_t> size = gltf::checkedMultiplyAdd(0, count, elementSize);
    if (!size || *size > gltf::kMaxMadeAccessorBytes - madeBytes_) {
        throw GLTFUnarchiveError::dataInconsistent(
            operation + ": the accessor " + std::to_string(index) +
            " is too large: accessors without bufferView and sparse accessors may hold " +
            std::to_string(gltf::kMaxMadeAccessorBytes) + " bytes in all");
    }
    madeBytes_ += *size;
}

gltf::PlacedElements GLTFUnarchiver::placedElements(const GLTFAccessor& accessor,
                                                    std::int64_t index, std::size_t elementSize,
                                                    const std::string& operation) {
    gltf::PlacedElements placed;
    std::size_t stride = elementSize;
    if (accessor.bufferView) {
        placed.data = loadBufferView(*accessor.bufferView);
        stride = strideOf(getDataStride(*accessor.bufferView), elementSize, operation);
    } else {
        const std::size_t count = nonNegative(accessor.count, operation, index, "count");
        chargeMadeBytes(count, elementSize, operation, index);
        placed.data = zeroBytes(count * elementSize);
    }
    placed.placement = placementOf(accessor, stride, elementSize, operation, index);
    requireInside(placed.placement, placed.data.size, operation, index);
    if (accessor.sparse) {
        chargeMadeBytes(placed.placement.count, elementSize, operation, index);
        // Replaced elements need a block of their own, packed from byte 0.
        placed.data =
            gltf::withSparseValues(*this, accessor, placed.data, placed.placement, operation);
        placed.placement.offset = 0;
        placed.placement.stride = elementSize;
    }
    return placed;
}

void GLTFUnarchiver::iterateElements(const GLTFAccessor& accessor, std::int64_t index,
                                     std::size_t elementSize, const std::string& operation,
                                     const std::function<void(const std::uint8_t*)>& readElement) {
    if (!accessor.sparse) {
        iterateBufferView(
            *accessor.bufferView,
            nonNegative(accessor._byteOffset.value_or(0), operation, index, "byteOffset"),
            elementSize, nonNegative(accessor.count, operation, index, "count"), readElement);
        return;
    }
    const auto [data, placement] = placedElements(accessor, index, elementSize, operation);
    const std::uint8_t* first = data.bytes().data();
    for (std::size_t element = 0; element < placement.count; ++element) {
        readElement(first + element * elementSize);
    }
}

std::vector<glm::dvec3> GLTFUnarchiver::createVertexArray(const scene::GeometrySource& source) {
    if (source.componentsPerVector() != 3) {
        throw GLTFUnarchiveError::notSupported(
            "createVertexArray: only 3 component vector is supported: " +
            std::to_string(source.componentsPerVector()));
    }
    if (!source.usesFloatComponents() || source.bytesPerComponent() != 4) {
        throw GLTFUnarchiveError::notSupported("createVertexArray: only float source is supported");
    }
    std::vector<glm::dvec3> vectors(source.vectorCount());
    const std::uint8_t* first = source.data()->data() + source.dataOffset();
    for (std::size_t vector = 0; vector < vectors.size(); ++vector) {
        const std::uint8_t* at = first + vector * source.dataStride();
        vectors[vector] = glm::dvec3(readLittleEndian<float>(at), readLittleEndian<float>(at + 4),
                                     readLittleEndian<float>(at + 8));
    }
    return vectors;
}
