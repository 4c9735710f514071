#pragma once

#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gltf {

// The record at `index` of a document array whose cache has already accepted the index.
// Caches are sized from their arrays, so an absent array has failed the index check before;
// `notDefinedMessage` is the loader's second line of defence.
template <class Record>
const Record& documentRecord(const std::optional<std::vector<Record>>& array, std::int64_t index,
                             std::string_view notDefinedMessage) {
    if (!array) {
        throw GLTFUnarchiveError::dataInconsistent(std::string(notDefinedMessage));
    }
    return array->at(static_cast<std::size_t>(index));
}

} // namespace gltf
