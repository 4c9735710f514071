#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brightfold::manual {

/// A table of a Markdown document, its cells as written (inline Markdown left in them).
struct MarkdownTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

/// The first table after the heading whose text is `heading` (any level), or nothing when the
/// heading is missing or the next block after it that is a table is under another heading.
std::optional<MarkdownTable> tableUnderHeading(std::string_view markdown, std::string_view heading);

/// The table in HTML, its cells' code spans and emphasis marked up and everything else escaped.
std::string htmlTable(const MarkdownTable& table);

/// The names in the code spans of a cell, "`KHR_a_b`, `_c`" giving KHR_a_b and KHR_a_c: a span
/// starting with '_' shortens the name before it, as a list of siblings is written.
std::vector<std::string> codeNames(std::string_view cell);

} // namespace brightfold::manual
