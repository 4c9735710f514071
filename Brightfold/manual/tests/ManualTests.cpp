#include "TextWrapping.h"

#include <Brightfold/Manual/CommandReference.h>
#include <Brightfold/Manual/References.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace brightfold::manual {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextWrapping, BreaksAtSpacesAndKeepsLongWordsWhole) {
    EXPECT_THAT(wrappedLines("one two  three", 7), ElementsAre("one two", "three"));
    EXPECT_THAT(wrappedLines("  a  unbreakably-long-word b ", 6),
                ElementsAre("a", "unbreakably-long-word", "b"));
    EXPECT_TRUE(wrappedLines("   ", 10).empty());
}

const CommandReference sample{
    .name = "tool",
    .purpose = "do things",
    .synopsis = {"[-x] FILE", "--other-way"},
    .description = {".starts with a dot and has a back\\slash"},
    .options = {{"-x", "short option"}, {"--a-rather-long-option VALUE", "stands above its text"}},
    .exitStatus = {"0 always."},
    .seeAlso = {"other"},
};

TEST(UsageText, AlignsOptionsAndPutsLongOnesAboveTheirText) {
    const std::vector<std::string> lines = linesOf(usageText(sample));
    EXPECT_EQ(lines[0], "Usage: tool [-x] FILE");
    EXPECT_EQ(lines[1], "Usage: tool --other-way");
    EXPECT_EQ(lines[2], "");
    EXPECT_THAT(lines, ::testing::Contains("  -x              short option"));
    EXPECT_THAT(lines, ::testing::Contains("  --a-rather-long-option VALUE"));
    EXPECT_THAT(lines, ::testing::Contains("                  stands above its text"));
    EXPECT_EQ(lines.back(), "Exit status: 0 always.");
}

TEST(UsageText, EveryProgramsHelpFitsAnEightyColumnTerminal) {
    for (const CommandReference* reference :
         {&appReference(), &convertReference(), &thumbnailerReference()}) {
        for (const std::string& line : linesOf(usageText(*reference))) {
            EXPECT_LE(line.size(), 79u) << reference->name << ": " << line;
        }
    }
}

TEST(ManPage, EscapesWhatRoffWouldTakeAsCommands) {
    const std::string page = manPage(sample, "9.9");
    EXPECT_THAT(page, HasSubstr(".TH TOOL 1 \"\" \"Brightfold 9.9\" \"User Commands\"\n"));
    EXPECT_THAT(page, HasSubstr("\n\\&.starts with a dot and has a back\\eslash\n"));
    EXPECT_THAT(page, HasSubstr(".TP\n.B \\-\\-a\\-rather\\-long\\-option VALUE\n"));
    EXPECT_THAT(page, HasSubstr(".B tool\n[\\-x] FILE\n.br\n.B tool\n\\-\\-other\\-way\n"));
    EXPECT_THAT(page, HasSubstr(".SH SEE ALSO\n.BR other (1)\n"));
    EXPECT_THAT(page, Not(HasSubstr("\n.starts")));
}

} // namespace
} // namespace brightfold::manual
