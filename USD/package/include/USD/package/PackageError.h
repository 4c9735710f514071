#pragma once

#include <stdexcept>

namespace usd {

// Raised when a USDZ package cannot be read or written; what() is a complete
// sentence meant for the user.
class PackageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace usd
