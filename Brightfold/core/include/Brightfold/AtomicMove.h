#pragma once

#include <filesystem>

namespace brightfold {

// Moves the file `from` to `to`, replacing any file already at `to` in one atomic rename, so
// `to` is at every moment either the old file or the complete new one. Works across file
// systems: the new file is first staged beside `to` under a hidden name. Throws
// std::filesystem::filesystem_error on failure, leaving `from` and `to` as they were and no
// staged file behind. On success `from` is removed (a failure to remove it is not reported).
void moveFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace brightfold
