#include <Brightfold/SaveDestination.h>

namespace brightfold {

std::filesystem::path usdzDestinationFor(const std::filesystem::path& source) {
    std::filesystem::path destination = source;
    destination.replace_extension("usdz");
    return destination;
}

} // namespace brightfold
