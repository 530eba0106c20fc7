#include "services/UpdateOffer.h"

#include <gtest/gtest.h>

#include "tests/services/ServicesFakes.h"

namespace korvana {
namespace {

const UpdateNews kNews{"3.0.10", "http://127.0.0.1:4100/Korvana.exe"};

TEST(UpdateOffer, QuestionHasTheExactCaptionAndText) {
    test::vendor::RecordingPrompter prompter;
    test::vendor::RecordingOpener opener;
    OfferUpdate(kNews, prompter, opener, [] {});
    const auto boxes = prompter.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].question);
    EXPECT_EQ(boxes[0].caption, "Korvana - Version 3.0.10 Released!");
    EXPECT_EQ(boxes[0].text,
              "            There is a newer version available.\n"
              "\n"
              "   Would you like to retrieve the setup program\n"
              "                     and exit this version?");
}

TEST(UpdateOffer, YesOpensTheSetupProgramThenCloses) {
    test::vendor::RecordingPrompter prompter;
    prompter.answer = true;
    test::vendor::RecordingOpener opener;
    std::vector<std::string> openedBeforeClose;
    EXPECT_TRUE(OfferUpdate(kNews, prompter, opener, [&] { openedBeforeClose = opener.urls; }));
    EXPECT_EQ(openedBeforeClose, std::vector<std::string>{"http://127.0.0.1:4100/Korvana.exe"});
    EXPECT_EQ(opener.urls.size(), 1u);
}

TEST(UpdateOffer, NoDoesNothing) {
    test::vendor::RecordingPrompter prompter;
    test::vendor::RecordingOpener opener;
    int closes = 0;
    EXPECT_FALSE(OfferUpdate(kNews, prompter, opener, [&] { ++closes; }));
    EXPECT_TRUE(opener.urls.empty());
    EXPECT_EQ(closes, 0);
}

}  // namespace
}  // namespace korvana
