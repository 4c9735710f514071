#include <Brightfold/SaveDestination.h>
#include <Brightfold/SourceSceneLoader.h>

namespace brightfold {

std::filesystem::path usdzDestinationFor(const std::filesystem::path& source) {
    if (lowerCasedExtension(source) == "usdz") {
        return source.parent_path() / (source.stem().string() + "-ar.usdz");
    }
    std::filesystem::path destination = source;
    destination.replace_extension("usdz");
    return destination;
}

} // namespace brightfold
