#include <QApplication>
#include <QDragEnterEvent>
#include <QFont>
#include <QMimeData>
#include <QSlider>
#include <QUrl>

#include "LibraryPageFixture.h"

namespace korvana::test {
namespace {

namespace ids = library_ids;
using std::chrono::seconds;

bool IsEmptyFolder(const std::filesystem::path& folder) {
    return !std::filesystem::exists(folder) || std::filesystem::is_empty(folder);
}

class LibraryPlayerTest : public LibraryPageTest {
  protected:
    // Three songs in the playlist, longest first as the list shows them.
    void QueueThreeSongs() {
        WriteSong("alpha.mp3", 30);
        WriteSong("beta.mp3", 20);
        WriteSong("gamma.mp3", 10);
        ASSERT_TRUE(RefreshUntilRows(3));
        LibraryList()->selectAll();
        Click(ids::kAddToPlaylist);
        ASSERT_EQ(Playlist()->model()->rowCount(), 3);
    }

    std::string Title() const { return Label(ids::kTitle)->text().toStdString(); }
    std::string Time() const { return Label(ids::kTime)->text().toStdString(); }
    QSlider* Slider(const char* id) const { return page->findChild<QSlider*>(id); }
};

TEST_F(LibraryPlayerTest, DoubleClickPlaysTheSelectionFromACopy) {
    WriteSong("first.mp3", 12);
    WriteSong("second.mp3", 5);
    ASSERT_TRUE(RefreshUntilRows(2));
    DoubleClickRow(1);
    EXPECT_EQ(Title(), "second.mp3");
    EXPECT_EQ(Time(), " 0:00 /  0:05");
    EXPECT_EQ(Playlist()->model()->rowCount(), 1);
    EXPECT_TRUE(std::filesystem::exists(tempPlay / "second.mp3"));
    EXPECT_EQ(page->GetPlayer().CurrentFile(), (downloads / "second.mp3").string());
    EXPECT_EQ(Slider(ids::kPosition)->maximum(), page->GetPlayer().SliderRange());

    clock.Advance(seconds(3));
    page->PlaybackTick();
    EXPECT_EQ(Time(), " 0:03 /  0:05");
    EXPECT_EQ(Slider(ids::kPosition)->value(), 3000);
}

TEST_F(LibraryPlayerTest, TransportButtonsDriveThePlayer) {
    QueueThreeSongs();
    EXPECT_FALSE(page->PlaybackTickRunning());
    Click(ids::kPlay);
    EXPECT_EQ(Title(), "alpha.mp3");
    EXPECT_TRUE(page->PlaybackTickRunning());
    Click(ids::kNextTrack);
    EXPECT_EQ(Title(), "beta.mp3");
    Click(ids::kPreviousTrack);
    EXPECT_EQ(Title(), "alpha.mp3");
    Click(ids::kPreviousTrack);
    EXPECT_EQ(Title(), "gamma.mp3");

    clock.Advance(seconds(4));
    page->PlaybackTick();
    EXPECT_EQ(Time(), " 0:04 /  0:10");
    Click(ids::kPause);
    EXPECT_TRUE(page->GetPlayer().Paused());
    EXPECT_FALSE(page->PlaybackTickRunning());  // a paused track does not move
    clock.Advance(seconds(4));
    page->PlaybackTick();
    EXPECT_EQ(Time(), " 0:04 /  0:10");
    Click(ids::kPause);
    EXPECT_TRUE(page->PlaybackTickRunning());
    clock.Advance(seconds(1));
    page->PlaybackTick();
    EXPECT_EQ(Time(), " 0:05 /  0:10");

    // The last track ends without repeat: the player stops.
    clock.Advance(seconds(6));
    page->PlaybackTick();
    EXPECT_EQ(Title(), "");
    EXPECT_EQ(Time(), "");
    EXPECT_FALSE(page->GetPlayer().PlaybackOpen());
    EXPECT_FALSE(page->PlaybackTickRunning());

    Click(ids::kPlay);
    ASSERT_TRUE(page->GetPlayer().PlaybackOpen());
    Click(ids::kStop);
    EXPECT_EQ(Title(), "");
    EXPECT_EQ(Slider(ids::kPosition)->value(), 0);
    EXPECT_TRUE(IsEmptyFolder(tempPlay));
}

TEST_F(LibraryPlayerTest, RepeatStartsAgainAndPlayUsesThePlaylistSelection) {
    QueueThreeSongs();
    Click(ids::kRepeat);
    EXPECT_TRUE(Button(ids::kRepeat)->IsChecked());
    EXPECT_TRUE(page->GetPlayer().RepeatAll());
    Playlist()->selectRow(2);
    Click(ids::kPlay);
    EXPECT_EQ(Title(), "gamma.mp3");
    clock.Advance(seconds(11));
    page->PlaybackTick();
    EXPECT_EQ(Title(), "alpha.mp3");

    Click(ids::kRandom);
    EXPECT_TRUE(page->GetPlayer().RandomOrder());
    Click(ids::kRandom);
    EXPECT_FALSE(Button(ids::kRandom)->IsChecked());
    EXPECT_FALSE(page->GetPlayer().RandomOrder());
}

TEST_F(LibraryPlayerTest, PlaylistButtonsMoveAndRemoveTracks) {
    QueueThreeSongs();
    const auto titles = [this] {
        std::vector<std::string> names;
        for (const Track& track : page->GetPlayer().GetPlaylist().Rows()) {
            names.push_back(track.title);
        }
        return names;
    };
    Playlist()->selectRow(2);
    Click(ids::kMoveUp);
    EXPECT_EQ(titles(), (std::vector<std::string>{"alpha.mp3", "gamma.mp3", "beta.mp3"}));
    EXPECT_EQ(Playlist()->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(Playlist()->model()->index(1, 0).data().toString().toStdString(), "gamma.mp3");
    Click(ids::kMoveDown);
    Click(ids::kMoveDown);
    EXPECT_EQ(titles(), (std::vector<std::string>{"alpha.mp3", "beta.mp3", "gamma.mp3"}));
    EXPECT_EQ(Playlist()->selectionModel()->selectedRows().value(0).row(), 2);

    Click(ids::kPlay);
    Click(ids::kRemoveTrack);
    EXPECT_EQ(titles(), (std::vector<std::string>{"alpha.mp3", "beta.mp3"}));
    EXPECT_TRUE(page->GetPlayer().PlaybackOpen());
    Click(ids::kRemoveAll);
    EXPECT_EQ(Playlist()->model()->rowCount(), 0);
    EXPECT_TRUE(page->GetPlayer().PlaybackOpen());
}

TEST_F(LibraryPlayerTest, SlidersActWhenReleased) {
    QueueThreeSongs();
    Click(ids::kPlay);
    QSlider* position = Slider(ids::kPosition);
    position->setFocus();
    QTest::keyClick(position, Qt::Key_PageUp);
    const int target = position->value();
    EXPECT_GT(target, 0);
    EXPECT_EQ(media->PositionMs(), target);
    page->PlaybackTick();
    EXPECT_EQ(Time(), " 0:03 /  0:30");

    QSlider* volume = Slider(ids::kVolume);
    EXPECT_EQ(volume->value(), 1000);
    volume->setFocus();
    QTest::keyClick(volume, Qt::Key_Left);
    EXPECT_EQ(media->Volume(), 950);
    EXPECT_EQ(page->GetPlayer().Volume(), 950);

    Click(ids::kStop);
    position->setFocus();
    QTest::keyClick(position, Qt::Key_PageUp);
    EXPECT_EQ(position->value(), 0);
}

TEST_F(LibraryPlayerTest, PlaylistRowsPlayByDoubleClickAndEnterAndLeaveByDelete) {
    QueueThreeSongs();
    const auto bold = [this](int row) {
        return Playlist()->model()->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
    };
    const QRect third = Playlist()->visualRect(Playlist()->model()->index(2, 0));
    QTest::mouseClick(Playlist()->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(Playlist()->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(Title(), "gamma.mp3");
    EXPECT_TRUE(bold(2));
    EXPECT_FALSE(bold(0));

    Playlist()->setFocus();
    Playlist()->selectRow(0);
    QTest::keyClick(Playlist(), Qt::Key_Return);
    EXPECT_EQ(Title(), "alpha.mp3");
    EXPECT_TRUE(bold(0));
    EXPECT_FALSE(bold(2));

    Playlist()->selectRow(1);
    QTest::keyClick(Playlist(), Qt::Key_Delete);
    ASSERT_EQ(Playlist()->model()->rowCount(), 2);
    EXPECT_EQ(Playlist()->model()->index(1, 0).data().toString(), QStringLiteral("gamma.mp3"));
}

TEST_F(LibraryPlayerTest, LibraryRowsDraggedOntoThePlaylistJoinIt) {
    WriteSong("alpha.mp3", 30);
    WriteSong("beta.mp3", 20);
    ASSERT_TRUE(RefreshUntilRows(2));
    LibraryList()->selectAll();
    const QModelIndexList dragged = LibraryList()->selectionModel()->selectedIndexes();
    std::unique_ptr<QMimeData> data(LibraryList()->model()->mimeData(dragged));
    ASSERT_EQ(data->urls().size(), 2);
    EXPECT_EQ(data->urls().front().toLocalFile().toStdString(), (downloads / "alpha.mp3").string());

    QWidget* target = Playlist()->viewport();
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(target->rect().center()), Qt::CopyAction, data.get(), Qt::LeftButton,
                    {});
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(Playlist()->model()->rowCount(), 2);
    EXPECT_EQ(Playlist()->model()->index(1, 0).data().toString(), QStringLiteral("beta.mp3"));

    // What is not a local file is not taken.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("http://127.0.0.1/x.mp3"))});
    QDragEnterEvent refused(target->rect().center(), Qt::CopyAction, &web, Qt::LeftButton, {});
    QApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

// The playlist, volume, order switch, track and place outlive the program;
// a file gone meanwhile stays listed and says so.
TEST_F(LibraryPlayerTest, ThePlayerComesBackAsItWasLeft) {
    const std::filesystem::path state = tempPlay.parent_path() / "player.json";
    const auto open = [&] {
        auto backend = std::make_unique<NullMediaBackend>(clock);
        media = backend.get();
        LibraryPageServices services{
            [this] { return downloads; }, tempPlay, prompter, opener, clock, std::move(backend)};
        services.playerState = state;
        page = std::make_unique<LibraryPage>(std::move(services));
        page->resize(1000, 560);
        page->show();
    };
    page.reset();
    open();
    QueueThreeSongs();
    Playlist()->selectRow(1);
    Click(ids::kPlay);
    clock.Advance(seconds(3));
    page->PlaybackTick();
    Click(ids::kRepeat);
    page->RunPlayer([](Player& player) { player.SetVolume(700); });
    page.reset();
    std::filesystem::remove(downloads / "gamma.mp3");

    open();
    ASSERT_EQ(Playlist()->model()->rowCount(), 3);
    EXPECT_TRUE(Playlist()
                    ->model()
                    ->index(2, 0)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .endsWith(QStringLiteral("(missing)")));
    EXPECT_FALSE(Playlist()
                     ->model()
                     ->index(0, 0)
                     .data(Qt::ToolTipRole)
                     .toString()
                     .endsWith(QStringLiteral("(missing)")));
    EXPECT_EQ(page->GetPlayer().Volume(), 700);
    EXPECT_TRUE(page->GetPlayer().RepeatAll());
    Click(ids::kPlay);
    EXPECT_EQ(Title(), "beta.mp3");
    EXPECT_EQ(media->PositionMs(), 3000);
}

TEST_F(LibraryPlayerTest, AClickOnTheSeekBarJumpsToThatPoint) {
    QueueThreeSongs();
    Click(ids::kPlay);
    QSlider* position = Slider(ids::kPosition);
    ASSERT_GT(position->width(), 50);
    QTest::mouseClick(position, Qt::LeftButton, {},
                      QPoint(position->width() * 3 / 4, position->height() / 2));
    const double share = static_cast<double>(media->PositionMs()) / position->maximum();
    EXPECT_GT(share, 0.6);
    EXPECT_LT(share, 0.9);
}

TEST_F(LibraryPlayerTest, PlayingWithoutAPlaylistOrSelectionTellsTheUser) {
    Click(ids::kPlay);
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0],
              std::make_pair(std::string("Please add an item to play to the playlist"),
                             std::string("Playlist Error")));
    Click(ids::kAddToPlaylist);
    ASSERT_EQ(prompter.informed.size(), 2u);
    EXPECT_EQ(prompter.informed[1].first, "Please select an mp3 to play.");
    EXPECT_EQ(Button(ids::kPlay)->toolTip().toStdString(), "Play");
    EXPECT_EQ(Button(ids::kRandom)->Traits().kind, ButtonKind::Check);
}

}  // namespace
}  // namespace korvana::test
