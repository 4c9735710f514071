#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brightfold::manual {

/// One option as the reader sees it: "-o OUT" or "--profile ar|usd", and what it does.
struct OptionEntry {
    std::string_view flags;
    std::string_view text;
};

/// Everything a program says about how it is run, written once: its --help text and its
/// manual page are both made from this, so they cannot tell different stories. A new option is
/// one more entry in `options`.
struct CommandReference {
    std::string_view name;
    /// What the program is, in a few words, for the manual page's NAME line.
    std::string_view purpose;
    /// The arguments after the name, one way of running the program each
    /// ("[-r] [-j N] FILE|FOLDER...").
    std::vector<std::string_view> synopsis;
    /// Paragraphs of running text.
    std::vector<std::string_view> description;
    std::vector<OptionEntry> options;
    /// Paragraphs; empty when the program's status needs no explanation.
    std::vector<std::string_view> exitStatus;
    /// Other manual pages of section 1.
    std::vector<std::string_view> seeAlso;
};

/// The --help text: the synopsis, the description and the options in aligned columns, wrapped
/// to fit a terminal 80 columns wide.
std::string usageText(const CommandReference& reference);

/// The manual page in roff (man(7) macros), section 1, naming `version` in its header.
std::string manPage(const CommandReference& reference, std::string_view version);

} // namespace brightfold::manual
