#include <Base/LargeBlocks.h>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace base {
namespace {

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

void* allocate(std::size_t size) {
    if (size < kHugePageSize)
        return std::malloc(size == 0 ? 1 : size);
    if (size > SIZE_MAX - kHugePageSize)
        return nullptr;
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

void* allocateUnset(std::size_t size) {
    void* data = allocate(size);
    if (!data)
        throw std::bad_alloc();
    return data;
}

} // namespace base
