#pragma once

#include <string>

namespace brightfold {

// The description of the exception being handled, fit to show the user. Must be called
// inside a catch block.
std::string describeCurrentException();

} // namespace brightfold
