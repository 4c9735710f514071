#include "MarkdownTable.h"

#include <GLTFReader/GLTFExtensionRegistry.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <set>

namespace brightfold::manual {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view document = R"(# Title
## Other
| x | y |
|---|---|
| 0 | 0 |

## Wanted table
Some words first.

| Name | What `it|does` |
| --- | :-: |
| `a<b>` | *kept* & `c|d` |
|e|f|
after the table
| stray | row |
)";

TEST(MarkdownTable, TakesTheTableUnderItsHeadingOnly) {
    const auto table = tableUnderHeading(document, "Wanted table");
    ASSERT_TRUE(table);
    EXPECT_THAT(table->header, ElementsAre("Name", "What `it|does`"));
    ASSERT_EQ(table->rows.size(), 2u);
    EXPECT_THAT(table->rows[0], ElementsAre("`a<b>`", "*kept* & `c|d`"));
    EXPECT_THAT(table->rows[1], ElementsAre("e", "f"));
    EXPECT_FALSE(tableUnderHeading(document, "Title"));
    EXPECT_FALSE(tableUnderHeading(document, "Missing"));
}

TEST(MarkdownTable, MarksUpCodeAndEmphasisAndEscapesTheRest) {
    const auto table = tableUnderHeading(document, "Wanted table");
    ASSERT_TRUE(table);
    EXPECT_EQ(htmlTable(*table),
              "<table>\n<tr><th>Name</th><th>What <code>it|does</code></th></tr>\n"
              "<tr><td><code>a&lt;b&gt;</code></td><td><em>kept</em> &amp; <code>c|d</code></td>"
              "</tr>\n<tr><td>e</td><td>f</td></tr>\n</table>\n");
}

TEST(MarkdownTable, SiblingNamesAreWrittenOut) {
    EXPECT_THAT(codeNames("`KHR_materials_sheen`, `_transmission` and `VRM`"),
                ElementsAre("KHR_materials_sheen", "KHR_materials_transmission", "VRM"));
}

std::string readme() {
    std::ifstream in(BRIGHTFOLD_README, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in the first column of the README's table under `heading` (none without one).
std::set<std::string> firstColumnNames(std::string_view heading) {
    std::set<std::string> names;
    const auto table = tableUnderHeading(readme(), heading);
    for (const auto& row : table ? table->rows : std::vector<std::vector<std::string>>{}) {
        for (const std::string& name : codeNames(row.at(0))) {
            names.insert(name);
        }
    }
    return names;
}

// The help pages copy the README's table; the table must name what the reader reads.
TEST(ReadmeTables, ListEveryExtensionTheReaderUnderstandsAndNoOther) {
    const std::set<std::string> listed = firstColumnNames("glTF extensions the reader understands");
    std::set<std::string> understood;
    for (const auto& [name, type] : gltf::builtInExtensionRegistry()) {
        understood.insert(name);
    }
    EXPECT_EQ(listed, understood);
}

TEST(ReadmeTables, ListEveryFileTheProgramsOpen) {
    EXPECT_EQ(firstColumnNames("File formats"),
              (std::set<std::string>{".gltf", ".glb", ".vrm", ".usdc", ".usd", ".usdz"}));
}

} // namespace
} // namespace brightfold::manual
