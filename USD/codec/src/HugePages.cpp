#include <USD/HugePages.h>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace usd {

namespace {

constexpr std::uintptr_t kHugePageSize = std::uintptr_t{2} << 20;
constexpr std::uintptr_t kPageSize = 4096;
// What the allocator adds to a large block for its own bookkeeping, with room to spare: a
// block asked for this much less than whole huge pages is mapped as exactly those pages, and
// the system places such mappings on a huge-page boundary.
constexpr std::size_t kAllocatorOverhead = 64;

std::uintptr_t roundUpToHugePage(std::uintptr_t value) {
    return (value + kHugePageSize - 1) & ~(kHugePageSize - 1);
}

void* allocateScratch(std::size_t size) {
    if (size < kHugePageSize)
        return std::malloc(size == 0 ? 1 : size);
    const std::size_t rounded = roundUpToHugePage(size);
    void* data = std::aligned_alloc(kHugePageSize, rounded);
    if (data)
        preferHugePages(data, rounded);
    return data;
}

} // namespace

// The advice covers the pages the buffer touches; the system then uses a huge page for every
// huge-page-sized stretch of them that its mapping holds whole.
void preferHugePages(const void* data, std::size_t size) {
    if (size < kHugePageSize)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = start & ~(kPageSize - 1);
    const std::uintptr_t last = (start + size + kPageSize - 1) & ~(kPageSize - 1);
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

std::size_t hugePageCapacity(std::size_t count, std::size_t elementSize) {
    if (elementSize == 0 || count > (SIZE_MAX - kHugePageSize) / elementSize)
        return count;
    const std::size_t bytes = count * elementSize;
    if (bytes < kHugePageSize)
        return count;
    const std::size_t room = roundUpToHugePage(bytes + kAllocatorOverhead) - kAllocatorOverhead;
    return room / elementSize;
}

ScratchBytes::ScratchBytes(std::size_t size)
    : data_(static_cast<std::uint8_t*>(allocateScratch(size))), size_(size) {
    if (!data_)
        throw std::bad_alloc();
}

void ScratchBytes::Free::operator()(std::uint8_t* data) const {
    std::free(data);
}

} // namespace usd
