#include "geometry/VertexCompaction.h"

#include <cstring>

namespace usd::writer {

VertexCompaction::VertexCompaction(std::size_t vertexCount,
                                   const std::vector<std::vector<std::uint32_t>>& elements)
    : newNumbers_(vertexCount, unused) {
    for (const auto& indices : elements)
        for (const std::uint32_t index : indices)
            if (newNumbers_[index] == unused) {
                newNumbers_[index] = static_cast<std::uint32_t>(kept_.size());
                kept_.push_back(index);
            }
}

std::vector<std::uint32_t>
VertexCompaction::renumbered(const std::vector<std::uint32_t>& indices) const {
    std::vector<std::uint32_t> result;
    result.reserve(indices.size());
    for (const std::uint32_t index : indices)
        result.push_back(newNumbers_[index]);
    return result;
}

std::shared_ptr<scene::GeometrySource>
VertexCompaction::compacted(const std::shared_ptr<scene::GeometrySource>& source) {
    if (const auto found = made_.find(source.get()); found != made_.end())
        return found->second;
    scene::SourceLayout layout = source->layout();
    const std::size_t vectorBytes = static_cast<std::size_t>(layout.bytesPerComponent) *
                                    static_cast<std::size_t>(layout.componentsPerVector);
    std::vector<std::uint8_t> bytes(vectorBytes * kept_.size());
    const std::uint8_t* first = source->data()->data() + layout.dataOffset;
    for (std::size_t v = 0; v < kept_.size(); ++v)
        std::memcpy(bytes.data() + v * vectorBytes, first + kept_[v] * layout.dataStride,
                    vectorBytes);
    layout.vectorCount = kept_.size();
    layout.dataOffset = 0;
    layout.dataStride = vectorBytes;
    auto made = scene::GeometrySource::create(scene::makeBytes(std::move(bytes)),
                                              source->semantic(), layout);
    made_.emplace(source.get(), made);
    return made;
}

} // namespace usd::writer
