#include <USD/codec/MemoryPages.h>
#include <cstdint>
#include <cstdlib>

namespace usd {

namespace {

constexpr std::size_t kHugePageSize = base::kHugePageSize;
// What the allocator adds to a large block for its own bookkeeping, with room to spare: a
// block asked for this much less than whole huge pages is mapped as exactly those pages, and
// the system places such mappings on a huge-page boundary.
constexpr std::size_t kAllocatorOverhead = 64;

std::size_t roundUp(std::size_t value, std::size_t unit) {
    return (value + unit - 1) / unit * unit;
}

} // namespace

std::size_t hugePageCapacity(std::size_t count, std::size_t elementSize) {
    if (elementSize == 0 || count > (SIZE_MAX - kHugePageSize) / elementSize)
        return count;
    const std::size_t bytes = count * elementSize;
    if (bytes < kHugePageSize)
        return count;
    const std::size_t room =
        roundUp(bytes + kAllocatorOverhead, kHugePageSize) - kAllocatorOverhead;
    return room / elementSize;
}

ScratchBytes::ScratchBytes(std::size_t size)
    : data_(static_cast<std::uint8_t*>(base::allocateUnset(size))), size_(size) {}

void ScratchBytes::Free::operator()(std::uint8_t* data) const {
    std::free(data);
}

} // namespace usd
