#pragma once

#include <stdexcept>
#include <string>

namespace usd {

// A file (or a part of one) does not follow the format. The message names what is wrong
// and where, so it can be shown to the user as it is.
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace usd
