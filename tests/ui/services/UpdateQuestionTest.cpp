#include "services/ui/UpdateQuestion.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/services/ServicesFakes.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

const UpdateNews kNews{"3.0.1", "http://127.0.0.1:4100/"};

TEST(UpdateQuestion, NewsFromTheCheckThreadIsAskedOnTheGuiThread) {
    test::vendor::RecordingPrompter prompter;
    prompter.answer = true;
    test::vendor::RecordingOpener opener;
    UpdateQuestion question(prompter, opener);
    std::thread check([&] { question.NewerVersionAvailable(kNews); });
    check.join();
    ASSERT_TRUE(test::WaitUntil([&] { return !opener.urls.empty(); }));
    const auto boxes = prompter.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].thread, std::this_thread::get_id());
    EXPECT_EQ(boxes[0].caption, "Korvana - Version 3.0.1 Released!");
    EXPECT_EQ(opener.urls, std::vector<std::string>{"http://127.0.0.1:4100/"});

    // Once the user has said yes, later news asks nothing.
    question.NewerVersionAvailable(kNews);
    EXPECT_FALSE(question.Idle());
    ASSERT_TRUE(test::WaitUntil([&] { return question.Idle(); }));
    EXPECT_EQ(prompter.Boxes().size(), 1u);
}

TEST(UpdateQuestion, WithdrawnNewsIsNotShown) {
    test::vendor::RecordingPrompter prompter;
    test::vendor::RecordingOpener opener;
    UpdateQuestion question(prompter, opener);
    question.NewerVersionAvailable(kNews);
    question.Withdraw();
    ASSERT_TRUE(test::WaitUntil([&] { return question.Idle(); }));
    EXPECT_TRUE(prompter.Boxes().empty());
}

}  // namespace
}  // namespace korvana
