#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/LibraryModel.h"
#include "library/ui/LibraryRescan.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "tools/media/Mp3Writer.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::minutes;

// A rescan over a temporary downloads folder whose found changes go into a
// library. Its own timer waits for hours unless a test says otherwise, so
// that only the test's scans and the watcher's reports start scans.
class LibraryRescanTest : public ::testing::Test {
  protected:
    LibraryRescanTest() { fs::create_directories(downloads / "album"); }

    void Make(RescanTiming timing, qsizetype mostWatched = LibraryRescan::kMostWatchedFolders) {
        rescan = std::make_unique<LibraryRescan>(
            [this] { return downloads; },
            [this](LibraryScan scan) { library.Apply(std::move(scan)); },
            [this](std::vector<LibraryEntry> tagged) { library.ApplyTags(tagged); }, timing,
            mostWatched);
    }
    void ScanOnce() {
        ASSERT_TRUE(rescan->Start());
        ASSERT_TRUE(WaitUntil([this] { return !rescan->Running(); }));
    }
    // Scans until the folder counts as quiet.
    void ScanUntilQuiet() {
        for (int scan = 0; scan < 5 && !rescan->Quiet(); ++scan) {
            ScanOnce();
        }
        ASSERT_TRUE(rescan->Quiet());
    }
    // Written beside the folder and renamed in whole.
    void Place(const fs::path& relative) {
        const fs::path staged = dir.Path() / "staged";
        std::ofstream(staged) << "music";
        fs::rename(staged, downloads / relative);
    }
    std::int64_t ListedSize(const std::string& name) const {
        for (const LibraryEntry& entry : library.Rows()) {
            if (entry.fileName == name) {
                return entry.size;
            }
        }
        return -1;
    }
    bool Watches(const fs::path& folder) const {
        return rescan->Watched().contains(QString::fromStdString(folder.string()));
    }

    TempDir dir;
    fs::path downloads = dir.Path() / "Downloads";
    LibraryModel library;
    std::unique_ptr<LibraryRescan> rescan;
};

const LibraryEntry* Listed(const LibraryModel& library, const std::string& name) {
    for (const LibraryEntry& entry : library.Rows()) {
        if (entry.fileName == name) {
            return &entry;
        }
    }
    return nullptr;
}

TEST_F(LibraryRescanTest, TagsArriveAfterTheListingAndARescanReadsOnlyWhatIsNew) {
    mp3gen::Mp3Spec spec;
    spec.durationMs = 2'000;
    spec.tag = mp3gen::Id3v1Tag{"Blue Hour", "Mira Kestrel", "Rain", "", "", 255};
    ASSERT_TRUE(mp3gen::WriteMp3(dir.Path() / "staged.mp3", spec));
    fs::rename(dir.Path() / "staged.mp3", downloads / "song.mp3");
    Place("album/notes.txt");
    Make({hours(1), hours(1), hours(1)});
    ScanOnce();
    ASSERT_TRUE(WaitUntil([this] {
        const LibraryEntry* song = Listed(library, "song.mp3");
        return rescan->Idle() && song != nullptr && !song->tags.artist.empty();
    }));
    const LibraryEntry* song = Listed(library, "song.mp3");
    EXPECT_EQ(song->tags.title, "Blue Hour");
    EXPECT_EQ(song->tags.lengthSeconds, 2);
    EXPECT_EQ(Listed(library, "notes.txt")->tags, TrackTags{});
    EXPECT_EQ(rescan->TagReads(), 2u);

    Place("album/more.txt");
    ScanOnce();
    ASSERT_TRUE(WaitUntil([this] { return rescan->Idle(); }));
    EXPECT_EQ(rescan->TagReads(), 3u);
    ScanOnce();
    ASSERT_TRUE(WaitUntil([this] { return rescan->Idle(); }));
    EXPECT_EQ(rescan->TagReads(), 3u);
    EXPECT_EQ(Listed(library, "song.mp3")->tags.album, "Rain");
}

TEST_F(LibraryRescanTest, TheFirstScanComesAtTheBusyPace) {
    Make({milliseconds(20), hours(2), hours(1), 2});
    Place("album/one.mp3");
    ASSERT_TRUE(WaitUntil([this] { return ListedSize("one.mp3") == 5; }));
    EXPECT_TRUE(Watches(downloads));
    EXPECT_TRUE(Watches(downloads / "album"));
}

TEST_F(LibraryRescanTest, AQuietFolderWaitsLongUntilTheWatcherSeesAChange) {
    Make({hours(1), hours(2), milliseconds(10), 2});
    ScanOnce();
    ScanOnce();
    EXPECT_FALSE(rescan->Quiet());
    ScanOnce();
    ASSERT_TRUE(rescan->Quiet());
    ASSERT_TRUE(rescan->NextScanIn().has_value());
    EXPECT_GT(*rescan->NextScanIn(), hours(1));

    // Only the watcher can bring this file in before two hours are out.
    Place("album/new.mp3");
    ASSERT_TRUE(WaitUntil([this] { return ListedSize("new.mp3") == 5; }));
    EXPECT_FALSE(rescan->Quiet());

    // A new folder is watched from the scan that finds it on.
    ScanUntilQuiet();
    fs::create_directories(downloads / "later");
    ASSERT_TRUE(WaitUntil([this] { return Watches(downloads / "later"); }));
    ScanUntilQuiet();
    Place("later/deep.mp3");
    ASSERT_TRUE(WaitUntil([this] { return ListedSize("deep.mp3") == 5; }));
    ScanUntilQuiet();
    fs::remove_all(downloads / "later");
    ASSERT_TRUE(WaitUntil([this] { return ListedSize("deep.mp3") == -1; }));
    EXPECT_FALSE(Watches(downloads / "later"));
}

TEST_F(LibraryRescanTest, AReportBringsAQuietFolderScanForwardAndLeavesABusyOneAlone) {
    Make({hours(1), hours(4), minutes(1), 1});
    ScanOnce();
    rescan->FolderChanged();
    ASSERT_TRUE(rescan->NextScanIn().has_value());
    EXPECT_GT(*rescan->NextScanIn(), minutes(30));
    ScanOnce();
    ASSERT_TRUE(rescan->Quiet());
    EXPECT_GT(*rescan->NextScanIn(), hours(3));
    rescan->FolderChanged();
    ASSERT_TRUE(rescan->NextScanIn().has_value());
    EXPECT_LT(*rescan->NextScanIn(), minutes(2));
}

// A tag editor that saves into the file leaves its inode, its size and its
// folder's time alone. Scans between quiet spells do not stat it; the next
// quiet scan does, and the new tags show.
TEST_F(LibraryRescanTest, TagsEditedInPlaceShowAfterTheNextQuietScan) {
    const auto song = [](const std::string& artist) {
        mp3gen::Mp3Spec spec;
        spec.durationMs = 1'000;
        spec.tag = mp3gen::Id3v1Tag{"Title", artist, "Album", "", "", 255};
        return spec;
    };
    const fs::path file = downloads / "song.mp3";
    ASSERT_TRUE(mp3gen::WriteMp3(file, song("Before")));
    const auto past = fs::file_time_type::clock::now() - minutes(1);
    for (const fs::path& path : {file, downloads / "album", downloads}) {
        fs::last_write_time(path, past);
    }
    Make({hours(1), milliseconds(2000), hours(1), 1});
    const auto artist = [this] {
        const LibraryEntry* entry = Listed(library, "song.mp3");
        return rescan->Idle() && entry != nullptr ? entry->tags.artist : std::string();
    };
    ScanOnce();
    ASSERT_TRUE(WaitUntil([&] { return artist() == "Before"; }));

    ASSERT_TRUE(mp3gen::WriteMp3(dir.Path() / "edited.mp3", song("After")));
    std::ifstream edited(dir.Path() / "edited.mp3", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(edited), {}};
    ASSERT_EQ(bytes.size(), fs::file_size(file));
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary) << bytes;
    fs::last_write_time(file, past + std::chrono::seconds(30));
    fs::last_write_time(downloads, past);

    ScanOnce();
    ASSERT_TRUE(WaitUntil([this] { return rescan->Idle(); }));
    EXPECT_EQ(artist(), "Before");
    ASSERT_TRUE(rescan->Quiet());
    EXPECT_TRUE(WaitUntil([&] { return artist() == "After"; }, 10'000));
}

// A start reads again only the files that changed while the program was
// not running; the others show the tags kept from the last run at once.
TEST_F(LibraryRescanTest, TagsKeptFromTheLastRunAreNotReadAgain) {
    const auto song = [this](const std::string& name, const std::string& artist) {
        mp3gen::Mp3Spec spec;
        spec.durationMs = 1'000;
        spec.tag = mp3gen::Id3v1Tag{"Title", artist, "Album", "", "", 255};
        ASSERT_TRUE(mp3gen::WriteMp3(dir.Path() / "staged.mp3", spec));
        fs::rename(dir.Path() / "staged.mp3", downloads / name);
        fs::last_write_time(downloads / name, fs::file_time_type::clock::now() - minutes(1));
    };
    song("one.mp3", "First");
    song("two.mp3", "Second");
    const fs::path store = dir.Path() / "state" / "library-tags.json";
    // Each run lists into a library of its own, as a new start would.
    std::vector<std::unique_ptr<LibraryModel>> runs;
    const auto artistOf = [&runs](const std::string& name) {
        const LibraryEntry* entry = Listed(*runs.back(), name);
        return entry != nullptr ? entry->tags.artist : std::string();
    };
    const auto run = [&](const std::string& second) {
        rescan.reset();
        runs.push_back(std::make_unique<LibraryModel>());
        LibraryModel* model = runs.back().get();
        rescan = std::make_unique<LibraryRescan>(
            [this] { return downloads; },
            [model](LibraryScan scan) { model->Apply(std::move(scan)); },
            [model](std::vector<LibraryEntry> tagged) { model->ApplyTags(tagged); },
            RescanTiming{hours(1), hours(1), hours(1)});
        rescan->KeepTagsIn(store);
        ScanOnce();
        ASSERT_TRUE(WaitUntil([&] { return rescan->Idle() && artistOf("two.mp3") == second; }));
    };
    run("Second");
    EXPECT_EQ(rescan->TagReads(), 2u);
    ASSERT_TRUE(fs::exists(store));

    song("two.mp3", "Changed");
    run("Changed");
    EXPECT_EQ(artistOf("one.mp3"), "First");
    EXPECT_EQ(rescan->TagReads(), 1u);

    run("Changed");
    EXPECT_EQ(artistOf("one.mp3"), "First");
    EXPECT_EQ(rescan->TagReads(), 0u);
}

// A download under way: its size changes at every scan, so the scans keep
// coming, and the size listed at the end is its last.
TEST_F(LibraryRescanTest, AGrowingFileKeepsTheScansComingUntilItsLastSizeIsListed) {
    const fs::path growing = downloads / "album" / "growing.mp3";
    std::ofstream(growing) << "x";
    Make({hours(1), hours(2), hours(1), 2});
    ScanOnce();
    for (int step = 0; step < 5; ++step) {
        std::ofstream(growing, std::ios::app) << std::string(100, 'x');
        ScanOnce();
        ASSERT_FALSE(rescan->Quiet()) << step;
        EXPECT_EQ(ListedSize("growing.mp3"), 1 + 100 * (step + 1));
    }
    ScanOnce();
    ScanOnce();
    EXPECT_TRUE(rescan->Quiet());
    EXPECT_EQ(ListedSize("growing.mp3"), static_cast<std::int64_t>(fs::file_size(growing)));
}

// A tree deeper than the watcher may take: the folders nearest the top are
// watched, and no more.
TEST_F(LibraryRescanTest, AVeryBigTreeIsWatchedFromTheTopDown) {
    for (int i = 0; i < 8; ++i) {
        fs::create_directories(downloads / "deep" / ("album " + std::to_string(i)) / "disc 1");
    }
    Make({hours(1), hours(2), hours(1), 2}, 11);
    ScanOnce();
    EXPECT_EQ(rescan->Watched().size(), 11);
    EXPECT_TRUE(Watches(downloads));
    EXPECT_TRUE(Watches(downloads / "album"));
    EXPECT_TRUE(Watches(downloads / "deep"));
    for (int i = 0; i < 8; ++i) {
        const fs::path album = downloads / "deep" / ("album " + std::to_string(i));
        EXPECT_TRUE(Watches(album));
        EXPECT_FALSE(Watches(album / "disc 1"));
    }
}

}  // namespace
}  // namespace korvana::test
