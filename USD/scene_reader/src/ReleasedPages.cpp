#include "ReleasedPages.h"

#include <sys/mman.h>
#include <unistd.h>

namespace usd::reader {

void releaseMappedFilePages(std::span<const std::uint8_t> bytes) {
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t firstPage = (begin + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t endPage = (begin + bytes.size()) / pageSize * pageSize;
    if (endPage > firstPage) {
        // Only an economy: where the system refuses, the pages simply stay.
        madvise(reinterpret_cast<void*>(firstPage), endPage - firstPage, MADV_DONTNEED);
    }
}

} // namespace usd::reader
