#include "HugePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace usd::crate {

namespace {

constexpr std::uintptr_t kHugePageSize = std::uintptr_t{2} << 20;

} // namespace

void preferHugePages(const void* data, std::size_t size) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePageSize - 1) & ~(kHugePageSize - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePageSize - 1);
    if (first < last) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

} // namespace usd::crate
