#include "SystemError.h"

#include <USD/package/PackageError.h>
#include <cerrno>
#include <cstring>
#include <string>

namespace usd {

void throwSystemError(const char* action, const std::filesystem::path& path) {
    throw PackageError("Cannot " + std::string(action) + " '" + path.string() +
                       "': " + std::strerror(errno));
}

} // namespace usd
