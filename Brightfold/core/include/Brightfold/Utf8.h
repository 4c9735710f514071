#pragma once

#include <string_view>

namespace brightfold {

// True when the bytes are well-formed UTF-8: no stray continuation bytes, truncated or
// over-long sequences, surrogates or code points above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

} // namespace brightfold
