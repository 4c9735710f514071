#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace brightfold {

using DropData = std::optional<std::vector<std::uint8_t>>;

// One dropped item: asked for its file-URL data, it answers later, on any thread, with the
// bytes or with nothing when it has none.
using DroppedItemProvider = std::function<void(std::function<void(DropData)>)>;

// The local file a dropped item's data names: the bytes must be UTF-8 text of a file URL.
// Empty when any step fails; such an item is skipped without a message.
std::optional<std::filesystem::path> decodeDroppedFile(const DropData& data);

} // namespace brightfold
