#include <USD/MemoryPages.h>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace usd {

namespace {

constexpr std::uintptr_t kHugePageSize = std::uintptr_t{2} << 20;
// What the allocator adds to a large block for its own bookkeeping, with room to spare: a
// block asked for this much less than whole huge pages is mapped as exactly those pages, and
// the system places such mappings on a huge-page boundary.
constexpr std::size_t kAllocatorOverhead = 64;

std::uintptr_t roundUp(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) / unit * unit;
}

std::uintptr_t roundDown(std::uintptr_t value, std::uintptr_t unit) {
    return value / unit * unit;
}

// Whole pages from `first` to `last`, as madvise takes them; nothing when they are empty.
// Huge pages are a Linux notion; elsewhere the memory simply keeps its ordinary pages.
void adviseHugePages(std::uintptr_t first, std::uintptr_t last) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)first;
    (void)last;
#endif
}

std::uintptr_t pageSize() {
    static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

void* allocateScratch(std::size_t size) {
    if (size < kHugePageSize)
        return std::malloc(size == 0 ? 1 : size);
    const std::size_t rounded = roundUp(size, kHugePageSize);
    void* data = std::aligned_alloc(kHugePageSize, rounded);
    if (data)
        preferHugePages(data, rounded);
    return data;
}

} // namespace

// The advice covers every page the buffer touches; the system then uses a huge page for every
// huge-page-sized stretch of them that its mapping holds whole.
void preferHugePages(const void* data, std::size_t size) {
    if (size < kHugePageSize)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    adviseHugePages(roundDown(start, pageSize()), roundUp(start + size, pageSize()));
}

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
    : data_(static_cast<std::uint8_t*>(allocateScratch(size))), size_(size) {
    if (!data_)
        throw std::bad_alloc();
}

void ScratchBytes::Free::operator()(std::uint8_t* data) const {
    std::free(data);
}

} // namespace usd
