#include <USD/ar_check/ARBudgets.h>
#include <USD/ar_check/LayerQueries.h>
#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace usd::ar {
namespace {

std::uint64_t trianglesOf(const Layer& layer, const Path& mesh) {
    const Value* value = attributeValue(layer, mesh, "faceVertexCounts");
    const auto* counts = value ? value->get<Array<std::int32_t>>() : nullptr;
    std::uint64_t triangles = 0;
    if (counts)
        for (const std::int32_t corners : *counts)
            triangles += corners >= 3 ? static_cast<std::uint64_t>(corners) - 2 : 0;
    return triangles;
}

std::optional<double> numberField(const Spec* spec, std::string_view name) {
    const Value* value = spec ? spec->field(name) : nullptr;
    if (const double* number = value ? value->get<double>() : nullptr)
        return *number;
    return std::nullopt;
}

// The first and last time sample of the whole layer, if it has any.
std::optional<std::pair<double, double>> sampledRange(const Layer& layer) {
    double first = std::numeric_limits<double>::infinity();
    double last = -first;
    for (const auto& [path, spec] : layer.specs()) {
        const Value* value = spec.field(field::kTimeSamples);
        const auto* samples = value ? value->get<TimeSamples>() : nullptr;
        if (!samples || samples->times.empty())
            continue;
        first = std::min(first, *std::ranges::min_element(samples->times));
        last = std::max(last, *std::ranges::max_element(samples->times));
    }
    if (first > last)
        return std::nullopt;
    return std::pair{first, last};
}

double animationSeconds(const Layer& layer) {
    const auto sampled = sampledRange(layer);
    if (!sampled)
        return 0;
    const Spec* root = layer.pseudoRoot();
    const double perSecond = numberField(root, "timeCodesPerSecond").value_or(24);
    const auto start = numberField(root, "startTimeCode");
    const auto end = numberField(root, "endTimeCode");
    const double codes = start && end ? *end - *start : sampled->second - sampled->first;
    return perSecond > 0 && std::isfinite(codes) ? std::max(codes, 0.0) / perSecond : 0;
}

} // namespace

void measureLayer(const Layer& layer, PackageMeasures& measures) {
    for (const auto& [path, spec] : layer.specs())
        if (spec.type == SpecType::Prim && primType(layer, path) == "Mesh")
            measures.triangles += trianglesOf(layer, path);
    measures.animationSeconds = std::max(measures.animationSeconds, animationSeconds(layer));
}

std::uint64_t heldTextureBytes(unsigned width, unsigned height) {
    const std::uint64_t base = std::uint64_t{width} * height * 4;
    return base + base / 3;
}

void measureTexture(MeasuredTexture texture, PackageMeasures& measures) {
    measures.textureBytes += heldTextureBytes(texture.width, texture.height);
    measures.textures.push_back(std::move(texture));
}

} // namespace usd::ar
