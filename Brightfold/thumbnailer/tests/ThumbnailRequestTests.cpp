#include "ThumbnailRequest.h"

#include <gtest/gtest.h>

namespace brightfold::thumbnailer {
namespace {

using Arguments = std::vector<std::string>;

std::string refusal(const Arguments& arguments) {
    const auto parsed = parseThumbnailRequest(arguments);
    const auto* bad = std::get_if<BadArguments>(&parsed);
    return bad ? bad->reason : "(accepted)";
}

TEST(ThumbnailRequest, TakesTheSizeAndTheTwoFilesInAnyOrder) {
    for (const Arguments& arguments :
         {Arguments{"-s", "256", "in.glb", "out.png"}, Arguments{"in.glb", "-s", "256", "out.png"},
          Arguments{"in.glb", "out.png", "-s", "256"}}) {
        const auto parsed = parseThumbnailRequest(arguments);
        const auto* request = std::get_if<ThumbnailRequest>(&parsed);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->side, 256);
        EXPECT_EQ(request->input, "in.glb");
        EXPECT_EQ(request->output, "out.png");
    }
    EXPECT_TRUE(std::holds_alternative<HelpWanted>(parseThumbnailRequest({"in.glb", "--help"})));
}

TEST(ThumbnailRequest, RefusesSizesThatAreNoPictureOrTooLarge) {
    for (const std::string size : {"0", "-5", "2049", "12px", "", "99999999999"}) {
        EXPECT_NE(refusal({"-s", size, "in.glb", "out.png"}).find("size must be"),
                  std::string::npos)
            << size;
    }
    EXPECT_EQ(refusal({"-s", "2048", "in.glb", "out.png"}), "(accepted)");
}

TEST(ThumbnailRequest, NamesWhatIsMissingOrExtra) {
    EXPECT_EQ(refusal({"in.glb", "out.png"}), "no size given (-s SIZE)");
    EXPECT_NE(refusal({"-s", "128", "in.glb"}).find("got 1 files"), std::string::npos);
    EXPECT_NE(refusal({"-s", "128", "a", "b", "c"}).find("got 3 files"), std::string::npos);
    EXPECT_EQ(refusal({"-s"}), "unknown or incomplete option '-s'");
    EXPECT_EQ(refusal({"--size", "1", "a", "b"}), "unknown or incomplete option '--size'");
}

} // namespace
} // namespace brightfold::thumbnailer
