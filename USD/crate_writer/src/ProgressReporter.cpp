#include "ProgressReporter.h"

#include "ValueKinds.h"

#include <algorithm>

namespace usd::crate {
namespace {

// Work this large (a big mesh array) is always reported on its own.
constexpr std::uint64_t largeWork = 1 << 20;
constexpr double reportingStep = 0.01;
// The sections after the values still take a little time; 1 is kept for the end.
constexpr double valuesShare = 0.95;
constexpr std::uint64_t bytesPerField = 16;

} // namespace

std::uint64_t estimatedBytes(const Value& value) {
    return std::visit(
        []<typename T>(const T& held) -> std::uint64_t {
            if constexpr (isArray<T>)
                return bytesPerField + held.size() * sizeof(typename T::value_type);
            else
                return bytesPerField;
        },
        value.storage());
}

void ProgressReporter::advance(std::uint64_t work) {
    done_ = std::min(done_ + work, totalWork_);
    const double fraction =
        valuesShare * static_cast<double>(done_) / static_cast<double>(totalWork_);
    if (callback_ && (work >= largeWork || fraction - lastReported_ >= reportingStep)) {
        lastReported_ = fraction;
        callback_(fraction);
    }
}

void ProgressReporter::finish() {
    if (callback_)
        callback_(1.0);
}

} // namespace usd::crate
