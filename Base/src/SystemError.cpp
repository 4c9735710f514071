#include <Base/SystemError.h>
#include <cerrno>
#include <cstring>

namespace base {

std::string systemErrorMessage(const char* action, const std::filesystem::path& path) {
    return "Cannot " + std::string(action) + " '" + path.string() + "': " + std::strerror(errno);
}

} // namespace base
