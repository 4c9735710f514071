#pragma once

#include <filesystem>

namespace usd {

// Throws PackageError "Cannot <action> '<path>': <reason from errno>".
[[noreturn]] void throwSystemError(const char* action, const std::filesystem::path& path);

} // namespace usd
