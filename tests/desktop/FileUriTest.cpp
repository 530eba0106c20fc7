#include <gtest/gtest.h>

#include "desktop/FileUri.h"

namespace korvana {
namespace {

TEST(FileUri, LocalUrisGiveTheirDecodedPath) {
    EXPECT_EQ(LocalPathFromFileUri("file:///music/a.mp3"),
              std::optional<std::string>("/music/a.mp3"));
    EXPECT_EQ(LocalPathFromFileUri("FILE://localhost/music/My%20Song%23%C3%A9.mp3"),
              std::optional<std::string>("/music/My Song#\xC3\xA9.mp3"));
}

TEST(FileUri, AnythingElseIsRefused) {
    for (const char* uri : {"http://host/a.mp3", "file://host/a.mp3", "file:/a.mp3", "file://",
                            "file:///a.mp3?x=1", "file:///a.mp3#part", "file:///a%2",
                            "file:///a%zz.mp3", "file:///a%00.mp3", "/a.mp3", ""}) {
        EXPECT_FALSE(LocalPathFromFileUri(uri)) << uri;
    }
    EXPECT_FALSE(LocalPathFromFileUri(std::string_view("file:///a\0b", 11)));
    EXPECT_FALSE(LocalPathFromFileUri("file:///" + std::string(kMaxFileUriBytes, 'a')));
}

TEST(FileUri, EveryFileNameReadsBackUnchanged) {
    const std::string odd = "/music/50% off ?#&+=;\t\xFF\xC3\xA9~.mp3";
    const std::string uri = FileUriFromLocalPath(odd);
    EXPECT_EQ(uri.find_first_of(" ?#\t\xFF"), std::string::npos) << uri;
    EXPECT_EQ(LocalPathFromFileUri(uri), std::optional<std::string>(odd));
    EXPECT_EQ(FileUriFromLocalPath("/a/b-c_d.mp3"), "file:///a/b-c_d.mp3");
}

// A path comes out only when its own URI can be read back: raw bytes that
// a URI must escape take three times the room.
TEST(FileUri, APathWhoseUriWouldBeTooLongIsRefused) {
    const std::string raw(kMaxFileUriBytes / 2, '@');
    EXPECT_FALSE(LocalPathFromFileUri("file:///" + raw));
    const std::string fits(kMaxFileUriBytes / 4, '@');
    const auto path = LocalPathFromFileUri("file:///" + fits);
    ASSERT_TRUE(path);
    EXPECT_EQ(LocalPathFromFileUri(FileUriFromLocalPath(*path)), path);
}

}  // namespace
}  // namespace korvana
