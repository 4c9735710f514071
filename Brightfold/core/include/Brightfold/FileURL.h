#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace brightfold {

// The local path a "file:" URL names ("file:///a/b%20c.glb", "file://localhost/a",
// "file:/a"), percent-decoded. Empty when the text is not a URL of a local file: another
// scheme or host, a bad percent escape, control characters, an encoded NUL or a relative
// path. A trailing line break, as in a URI list, is ignored. Query and fragment are dropped.
std::optional<std::filesystem::path> parseFileURL(std::string_view text);

} // namespace brightfold
