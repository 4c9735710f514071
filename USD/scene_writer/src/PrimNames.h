#pragma once

#include <set>
#include <string>
#include <string_view>

namespace usd::writer {

// `name` as a prim name: letters, digits and '_' kept, anything else (spaces, dots, UTF-8)
// replaced by '_', a leading digit prefixed with '_', and `fallback` when nothing is left.
std::string sanitizedPrimName(std::string_view name, std::string_view fallback);

// The names already given among the children of one prim; each new one is made unique by
// appending _1, _2, …
class SiblingNames {
  public:
    // A sanitised, unique name for `wanted`, now taken.
    std::string claim(std::string_view wanted, std::string_view fallback);

  private:
    std::set<std::string, std::less<>> taken_;
};

} // namespace usd::writer
