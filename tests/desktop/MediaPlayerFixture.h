#pragma once

#include <gtest/gtest.h>

#include <fstream>

#include "library/Player.h"
#include "tests/library/LibraryTestDoubles.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace korvana::test {

// A real player on a media backend the test moves by hand, with three
// files in its library folder.
class MediaPlayerFixture : public ::testing::Test {
  protected:
    MediaPlayerFixture() {
        std::filesystem::create_directories(library_);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            std::ofstream(library_ / name) << "audio of " << name;
        }
    }
    std::string PathOf(const std::string& name) const { return (library_ / name).string(); }
    std::vector<Track> Tracks(std::initializer_list<const char*> names) const {
        std::vector<Track> tracks;
        for (const char* name : names) {
            tracks.push_back({name, PathOf(name)});
        }
        return tracks;
    }

    TempDir dir_;
    std::filesystem::path library_ = dir_.Path() / "Downloads";
    std::filesystem::path tempPlay_ = dir_.Path() / "TempPlay";
    FakeMediaBackend media_;
    RecordingPrompter prompter_;
    FakeClock clock_;
    StandardRandomSource random_;
    Player player_{media_, prompter_, clock_, random_, tempPlay_};
};

}  // namespace korvana::test
