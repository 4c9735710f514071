#pragma once

#include <filesystem>
#include <string>

namespace base {

// "Cannot <action> '<path>': <the system's reason for errno>", for the failure just reported.
std::string systemErrorMessage(const char* action, const std::filesystem::path& path);

} // namespace base
