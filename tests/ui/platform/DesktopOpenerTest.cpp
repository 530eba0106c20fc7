#include <gtest/gtest.h>

#include <QUrl>

#include "platform/qt/QtDesktopOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

// An opener whose desktop takes addresses or not, as the test says, and
// remembers what it was handed.
struct Desktop {
    bool takes = true;
    std::vector<QUrl> handed;
    test::RecordingPrompter prompter;
    QtDesktopOpener opener{prompter, [this](const QUrl& url) {
                               handed.push_back(url);
                               return takes;
                           }};
};

TEST(DesktopOpener, WhatOpensSaysNothing) {
    test::TempDir dir;
    Desktop desktop;
    desktop.opener.OpenPath(dir.Path().string());
    desktop.opener.OpenUrl("http://127.0.0.1:4100/help.html");
    ASSERT_EQ(desktop.handed.size(), 2u);
    EXPECT_EQ(desktop.handed[0], QUrl::fromLocalFile(QString::fromStdString(dir.Path().string())));
    EXPECT_EQ(desktop.handed[1].toString(), "http://127.0.0.1:4100/help.html");
    EXPECT_TRUE(desktop.prompter.informed.empty());
}

TEST(DesktopOpener, AFolderOrFileNoProgramOpensIsNamed) {
    test::TempDir dir;
    Desktop desktop;
    desktop.takes = false;
    desktop.opener.OpenPath(dir.Path().string());
    ASSERT_EQ(desktop.prompter.informed.size(), 1u);
    EXPECT_EQ(desktop.prompter.informed[0].first,
              "Could not open the folder " + dir.Path().string() +
                  "\n\nNo program of this desktop would open it.");
    EXPECT_EQ(desktop.prompter.informed[0].second, "Could Not Open");
}

TEST(DesktopOpener, AMissingPathIsNamedWithoutAskingTheDesktop) {
    Desktop desktop;
    desktop.opener.OpenPath("/no/such/folder/song.mp3");
    EXPECT_TRUE(desktop.handed.empty());
    ASSERT_EQ(desktop.prompter.informed.size(), 1u);
    EXPECT_NE(desktop.prompter.informed[0].first.find("/no/such/folder/song.mp3"),
              std::string::npos);
}

TEST(DesktopOpener, ALinkNoBrowserTakesIsNamed) {
    Desktop desktop;
    desktop.takes = false;
    desktop.opener.OpenUrl("http://127.0.0.1:4100/");
    ASSERT_EQ(desktop.prompter.informed.size(), 1u);
    EXPECT_NE(desktop.prompter.informed[0].first.find("http://127.0.0.1:4100/"), std::string::npos);
}

}  // namespace
}  // namespace korvana
