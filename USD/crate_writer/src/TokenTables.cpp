#include "TokenTables.h"

#include <USD/crate_writer/CrateWriter.h>

namespace usd::crate {

std::uint32_t TokenTable::add(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        throw CrateWriteError("cannot store text with a NUL character in a crate file");
    const auto [found, added] =
        indexes_.try_emplace(std::string(text), static_cast<std::uint32_t>(tokens_.size()));
    if (added)
        tokens_.emplace_back(text);
    return found->second;
}

std::uint32_t StringTable::add(std::string_view text) {
    const std::uint32_t token = tokens_.add(text);
    const auto [found, added] =
        byToken_.try_emplace(token, static_cast<std::uint32_t>(tokenIndexes_.size()));
    if (added)
        tokenIndexes_.push_back(token);
    return found->second;
}

} // namespace usd::crate
