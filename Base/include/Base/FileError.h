#pragma once

#include <stdexcept>

namespace base {

// Raised when a file cannot be opened, inspected, mapped or written; what() is a complete
// sentence for the user that names the file and the system's reason.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace base
