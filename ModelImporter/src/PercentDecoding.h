#pragma once

#include <string>

namespace modelimporter {

// "%20" and the like replaced by their bytes; a malformed escape is kept as it is.
std::string percentDecoded(const std::string& text);

} // namespace modelimporter
