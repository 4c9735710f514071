#pragma once

#include <string>

namespace brightfold {

// A fresh random UUID in canonical upper-case text, e.g. "0F8FAD5B-D9CB-469F-A165-70867728950E".
std::string makeUpperCaseUUID();

} // namespace brightfold
