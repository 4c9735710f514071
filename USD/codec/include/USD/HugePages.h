#pragma once

#include <cstddef>

namespace usd::crate {

// Asks the system to back a large, not yet touched buffer with huge pages. Filling tens of
// megabytes of fresh memory otherwise costs one page fault per 4 KiB, which on virtual
// machines can take longer than producing the bytes. Only advice: ignored where unsupported.
void preferHugePages(const void* data, std::size_t size);

} // namespace usd::crate
