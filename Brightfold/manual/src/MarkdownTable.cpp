#include "MarkdownTable.h"

#include <sstream>

namespace brightfold::manual {
namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

// "| a | `b|c` |" gives "a" and "`b|c`": bars inside code spans belong to the cell.
std::vector<std::string> cellsOf(std::string_view row) {
    row = trimmed(row);
    row.remove_prefix(1);
    if (!row.empty() && row.back() == '|') {
        row.remove_suffix(1);
    }
    std::vector<std::string> cells;
    std::string cell;
    bool inCode = false;
    for (const char character : row) {
        if (character == '|' && !inCode) {
            cells.emplace_back(trimmed(cell));
            cell.clear();
            continue;
        }
        inCode = character == '`' ? !inCode : inCode;
        cell += character;
    }
    cells.emplace_back(trimmed(cell));
    return cells;
}

bool isTableRow(std::string_view line) {
    return trimmed(line).starts_with('|');
}

bool isSeparatorRow(std::string_view line) {
    return trimmed(line).find_first_not_of("|-: ") == std::string_view::npos;
}

std::optional<std::string_view> headingText(std::string_view line) {
    if (!line.starts_with('#')) {
        return std::nullopt;
    }
    return trimmed(line.substr(line.find_first_not_of('#')));
}

void appendEscaped(std::string& html, char character) {
    switch (character) {
    case '&':
        html += "&amp;";
        break;
    case '<':
        html += "&lt;";
        break;
    case '>':
        html += "&gt;";
        break;
    case '"':
        html += "&quot;";
        break;
    default:
        html += character;
    }
}

// Code spans and single-asterisk emphasis; a mark left open is closed at the cell's end.
std::string inlineHtml(std::string_view cell) {
    std::string html;
    bool inCode = false;
    bool inEmphasis = false;
    for (const char character : cell) {
        if (character == '`') {
            html += inCode ? "</code>" : "<code>";
            inCode = !inCode;
        } else if (character == '*' && !inCode) {
            html += inEmphasis ? "</em>" : "<em>";
            inEmphasis = !inEmphasis;
        } else {
            appendEscaped(html, character);
        }
    }
    html += inCode ? "</code>" : "";
    html += inEmphasis ? "</em>" : "";
    return html;
}

void appendRow(std::string& html, const std::vector<std::string>& cells, std::string_view tag) {
    html += "<tr>";
    for (const std::string& cell : cells) {
        html += "<" + std::string(tag) + ">" + inlineHtml(cell) + "</" + std::string(tag) + ">";
    }
    html += "</tr>\n";
}

} // namespace

std::optional<MarkdownTable> tableUnderHeading(std::string_view markdown,
                                               std::string_view heading) {
    std::istringstream lines{std::string(markdown)};
    bool underHeading = false;
    std::optional<MarkdownTable> table;
    for (std::string line; std::getline(lines, line);) {
        if (const auto text = headingText(line)) {
            if (table) {
                break;
            }
            underHeading = *text == heading;
        } else if (underHeading && isTableRow(line)) {
            if (!table) {
                table = MarkdownTable{cellsOf(line), {}};
            } else if (!isSeparatorRow(line)) {
                table->rows.push_back(cellsOf(line));
            }
        } else if (table) {
            break;
        }
    }
    return table;
}

std::string htmlTable(const MarkdownTable& table) {
    std::string html = "<table>\n";
    appendRow(html, table.header, "th");
    for (const auto& row : table.rows) {
        appendRow(html, row, "td");
    }
    return html + "</table>\n";
}

std::vector<std::string> codeNames(std::string_view cell) {
    std::vector<std::string> names;
    for (std::size_t open = cell.find('`'); open != std::string_view::npos;
         open = cell.find('`', open)) {
        const std::size_t close = cell.find('`', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        std::string name(cell.substr(open + 1, close - open - 1));
        if (name.starts_with('_') && !names.empty()) {
            const std::string& sibling = names.back();
            name = sibling.substr(0, sibling.rfind('_')) + name;
        }
        names.push_back(std::move(name));
        open = close + 1;
    }
    return names;
}

} // namespace brightfold::manual
