#include <Brightfold/DroppedItem.h>
#include <Brightfold/FileURL.h>
#include <Brightfold/Utf8.h>
#include <string_view>

namespace brightfold {

std::optional<std::filesystem::path> decodeDroppedFile(const DropData& data) {
    if (!data) {
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(data->data()), data->size());
    if (!isValidUtf8(text)) {
        return std::nullopt;
    }
    return parseFileURL(text);
}

} // namespace brightfold
