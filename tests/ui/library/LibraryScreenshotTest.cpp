#include <QDir>
#include <QImage>
#include <algorithm>

#include "LibraryPageFixture.h"

// Renders the page with a few files and a playing playlist to a PNG file,
// so that anyone can look at it: under KORVANA_GALLERY_DIR when it is set,
// else under "gallery" in the test's working folder (the build folder).
namespace korvana::test {
namespace {

namespace ids = library_ids;

TEST_F(LibraryPageTest, RendersWithFilesAndAPlayingPlaylist) {
    WriteTaggedSong("Morning Light - Open Fields.mp3", 40, "Open Fields", "Morning Light",
                    "Open Fields");
    WriteTaggedSong("Harbour Lights.mp3", 25, "The Quiet Coast", "Harbour Lights", "Tides");
    WriteSong("Slow River (live).mp3", 12);
    WriteTaggedSong("albums/Night Drive/01 - Night Drive.mp3", 30, "Arden Vale", "Night Drive",
                    "Night Drive");
    WriteFile("albums/Night Drive/cover.jpg", 5000);
    WriteFile("notes.txt", 300);
    ASSERT_TRUE(RefreshUntilRows(6));
    ASSERT_TRUE(WaitUntil([this] {
        const auto lengths = ColumnTexts(kLengthColumn);
        return std::count(lengths.begin(), lengths.end(), "") == 2;
    }));
    SelectNames({"Harbour Lights.mp3", "Slow River (live).mp3", "01 - Night Drive.mp3"});
    Click(ids::kAddToPlaylist);
    Click(ids::kRepeat);
    Click(ids::kPlay);
    clock.Advance(std::chrono::seconds(14));
    page->PlaybackTick();
    LibraryList()->clearSelection();
    LibraryList()->selectRow(1);

    const QImage image = page->grab().toImage();
    const QString folder = qEnvironmentVariableIsSet("KORVANA_GALLERY_DIR")
                               ? qEnvironmentVariable("KORVANA_GALLERY_DIR")
                               : QDir::current().filePath(QStringLiteral("gallery"));
    QDir().mkpath(folder);
    ASSERT_TRUE(image.save(folder + QStringLiteral("/library-page.png")));
    EXPECT_EQ(image.size(), QSize(1000, 560) * page->devicePixelRatio());
    EXPECT_EQ(Label(ids::kTime)->text().toStdString(), " 0:14 /  0:30");
}

}  // namespace
}  // namespace korvana::test
