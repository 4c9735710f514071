#include "ByteRange.h"

namespace scene::detail {

bool stridedItemsFit(std::size_t offset, std::size_t count, std::size_t stride,
                     std::size_t itemSize, std::size_t available) {
    if (count == 0) {
        return offset <= available;
    }
    if (offset > available || itemSize > available - offset) {
        return false;
    }
    const std::size_t roomAfterFirst = available - offset - itemSize;
    return stride == 0 || (count - 1) <= roomAfterFirst / stride;
}

} // namespace scene::detail
