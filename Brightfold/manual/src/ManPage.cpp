#include <Brightfold/Manual/CommandReference.h>
#include <cctype>

namespace brightfold::manual {
namespace {

// Text as roff prints it: backslashes escaped, hyphens as the minus signs options start with,
// and a line never starting with the control characters '.' or '\''.
std::string roff(std::string_view text) {
    std::string escaped;
    for (const char character : text) {
        if (character == '\\') {
            escaped += "\\e";
        } else if (character == '-') {
            escaped += "\\-";
        } else {
            escaped += character;
        }
    }
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\'')) {
        escaped.insert(0, "\\&");
    }
    return escaped;
}

std::string upperCased(std::string_view text) {
    std::string upper(text);
    for (char& character : upper) {
        character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    }
    return upper;
}

void appendSection(std::string& page, std::string_view title,
                   const std::vector<std::string_view>& paragraphs) {
    if (paragraphs.empty()) {
        return;
    }
    page += ".SH " + std::string(title) + "\n";
    for (std::size_t at = 0; at < paragraphs.size(); ++at) {
        page += (at == 0 ? "" : ".PP\n") + roff(paragraphs[at]) + "\n";
    }
}

void appendOptions(std::string& page, const std::vector<OptionEntry>& options) {
    if (options.empty()) {
        return;
    }
    page += ".SH OPTIONS\n";
    for (const OptionEntry& option : options) {
        page += ".TP\n.B " + roff(option.flags) + "\n" + roff(option.text) + "\n";
    }
}

void appendSeeAlso(std::string& page, const std::vector<std::string_view>& names) {
    if (names.empty()) {
        return;
    }
    page += ".SH SEE ALSO\n";
    for (std::size_t at = 0; at < names.size(); ++at) {
        page += ".BR " + roff(names[at]) + " (1)" + (at + 1 < names.size() ? "," : "") + "\n";
    }
}

} // namespace

std::string manPage(const CommandReference& reference, std::string_view version) {
    const std::string name = roff(reference.name);
    std::string page = ".TH " + upperCased(name) + " 1 \"\" \"Brightfold " + std::string(version) +
                       "\" \"User Commands\"\n";
    page += ".SH NAME\n" + name + " \\- " + roff(reference.purpose) + "\n";
    page += ".SH SYNOPSIS\n";
    for (std::size_t at = 0; at < reference.synopsis.size(); ++at) {
        page +=
            (at == 0 ? "" : ".br\n") + (".B " + name) + "\n" + roff(reference.synopsis[at]) + "\n";
    }
    appendSection(page, "DESCRIPTION", reference.description);
    appendOptions(page, reference.options);
    appendSection(page, "EXIT STATUS", reference.exitStatus);
    appendSeeAlso(page, reference.seeAlso);
    return page;
}

} // namespace brightfold::manual
