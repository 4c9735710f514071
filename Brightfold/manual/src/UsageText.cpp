#include "TextWrapping.h"

#include <Brightfold/Manual/CommandReference.h>

namespace brightfold::manual {
namespace {

constexpr std::size_t lineWidth = 79;
// Option names up to this long share a line with their text; longer ones stand above it.
constexpr std::size_t flagColumn = 18;

// Each way of running the program on a line of its own, continued under its first argument.
void appendSynopsis(std::string& text, const CommandReference& reference) {
    const std::string lead = "Usage: " + std::string(reference.name) + " ";
    for (const std::string_view invocation : reference.synopsis) {
        const std::vector<std::string> lines = wrappedLines(invocation, lineWidth - lead.size());
        for (std::size_t line = 0; line < lines.size(); ++line) {
            text += (line == 0 ? lead : std::string(lead.size(), ' ')) + lines[line] + '\n';
        }
    }
}

void appendParagraph(std::string& text, std::string_view paragraph, std::size_t indent) {
    for (const std::string& line : wrappedLines(paragraph, lineWidth - indent)) {
        text += std::string(indent, ' ') + line + '\n';
    }
}

void appendOption(std::string& text, const OptionEntry& option) {
    const std::string flags = "  " + std::string(option.flags);
    std::vector<std::string> lines = wrappedLines(option.text, lineWidth - flagColumn);
    std::size_t first = 0;
    if (flags.size() < flagColumn - 1 && !lines.empty()) {
        text += flags + std::string(flagColumn - flags.size(), ' ') + lines[0] + '\n';
        first = 1;
    } else {
        text += flags + '\n';
    }
    for (std::size_t line = first; line < lines.size(); ++line) {
        text += std::string(flagColumn, ' ') + lines[line] + '\n';
    }
}

} // namespace

std::string usageText(const CommandReference& reference) {
    std::string text;
    appendSynopsis(text, reference);
    for (const std::string_view paragraph : reference.description) {
        text += '\n';
        appendParagraph(text, paragraph, 0);
    }
    if (!reference.options.empty()) {
        text += "\nOptions:\n";
    }
    for (const OptionEntry& option : reference.options) {
        appendOption(text, option);
    }
    for (std::size_t at = 0; at < reference.exitStatus.size(); ++at) {
        const std::string lead = at == 0 ? "Exit status: " : "";
        text += '\n';
        appendParagraph(text, lead + std::string(reference.exitStatus[at]), 0);
    }
    return text;
}

} // namespace brightfold::manual
