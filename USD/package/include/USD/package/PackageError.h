#pragma once

#include <Base/FileError.h>

namespace usd {

// Raised when a USDZ package cannot be read or written; what() is a complete
// sentence meant for the user. A file that cannot be opened or written at all is one too.
class PackageError : public base::FileError {
  public:
    using base::FileError::FileError;
};

} // namespace usd
