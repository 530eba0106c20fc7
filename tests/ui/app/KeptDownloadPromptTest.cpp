#include <gtest/gtest.h>

#include <thread>

#include "app/ui/KeptDownloadPrompt.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "tests/support/FileText.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "transfers/TransferList.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

// A kept download reported from a download thread is put to the user on
// the GUI thread; "yes" moves the file into the downloads folder.
TEST(KeptDownloadPrompt, AsksOnTheGuiThreadAndRetriesOnYes) {
    test::TempDir dir;
    const fs::path downloads = dir.Path() / "Downloads";
    test::WriteText(dir.Path() / "Incomplete" / "song.mp3", "whole file");
    SystemClock clock;
    StatusLog log;
    TransferList list{clock, log};
    list.OpenWebDownload("http://h/song.mp3", "song.mp3");
    WebDownloads web(list, {dir.Path() / "Incomplete", [&] { return downloads; }});
    test::RecordingPrompter prompter;
    prompter.answer = true;
    KeptDownloadPrompt prompt(prompter, web);
    const KeptDownload kept{"http://h/song.mp3",
                            "song.mp3",
                            "song.mp3",
                            dir.Path() / "Incomplete" / "song.mp3",
                            downloads,
                            "Read-only file system",
                            10};
    std::thread([&] { prompt.Notify(kept); }).join();
    EXPECT_TRUE(prompter.asked.empty());  // not on the reporting thread
    ASSERT_TRUE(test::WaitUntil([&] { return !prompter.asked.empty(); }));
    EXPECT_EQ(prompter.asked[0].first, KeptDownloadText(kept));
    EXPECT_EQ(prompter.asked[0].second, "Download Kept");
    ASSERT_TRUE(web.WaitUntilIdle(std::chrono::seconds(10)));
    EXPECT_EQ(test::ReadText(downloads / "song.mp3"), "whole file");
    EXPECT_FALSE(fs::exists(dir.Path() / "Incomplete" / "song.mp3"));
}

}  // namespace
}  // namespace korvana
