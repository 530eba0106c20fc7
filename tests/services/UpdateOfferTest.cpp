#include "services/UpdateOffer.h"

#include <gtest/gtest.h>

#include "tests/services/ServicesFakes.h"

namespace korvana {
namespace {

const UpdateNews kNews{"3.0.10", "http://127.0.0.1:4100/"};

TEST(UpdateOffer, QuestionHasTheExactCaptionAndText) {
    test::vendor::RecordingPrompter prompter;
    test::vendor::RecordingOpener opener;
    OfferUpdate(kNews, prompter, opener);
    const auto boxes = prompter.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].question);
    EXPECT_EQ(boxes[0].caption, "Korvana - Version 3.0.10 Released!");
    EXPECT_EQ(boxes[0].text,
              "            There is a newer version available.\n"
              "\n"
              "   Would you like to open its download page?");
}

TEST(UpdateOffer, YesOpensTheDownloadPageOnly) {
    test::vendor::RecordingPrompter prompter;
    prompter.answer = true;
    test::vendor::RecordingOpener opener;
    EXPECT_TRUE(OfferUpdate(kNews, prompter, opener));
    EXPECT_EQ(opener.urls, std::vector<std::string>{"http://127.0.0.1:4100/"});
    EXPECT_TRUE(opener.paths.empty());
}

TEST(UpdateOffer, NoDoesNothing) {
    test::vendor::RecordingPrompter prompter;
    test::vendor::RecordingOpener opener;
    EXPECT_FALSE(OfferUpdate(kNews, prompter, opener));
    EXPECT_TRUE(opener.urls.empty());
}

}  // namespace
}  // namespace korvana
