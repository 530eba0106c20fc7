#include "LibraryPageFixture.h"

#include <QItemSelectionModel>
#include <algorithm>
#include <fstream>

#include "library/LibraryCommands.h"
#include "tools/media/Mp3Writer.h"

namespace korvana::test {

void LibraryPageTest::SetUp() {
    downloads = dir.Path() / "Downloads";
    tempPlay = dir.Path() / "TempPlay";
    std::filesystem::create_directories(downloads);
    auto backend = std::make_unique<NullMediaBackend>(clock);
    media = backend.get();
    page = std::make_unique<LibraryPage>(
        LibraryPageServices{[this] { return downloads; }, tempPlay, prompter, opener, clock,
                            std::move(backend), nullptr,
                            [this](const std::filesystem::path& file) {
                                removed.push_back(file.filename().string());
                                return RemoveFilePermanently(file);
                            }});
    page->resize(1000, 560);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
}

void LibraryPageTest::TearDown() {
    page.reset();
}

// The page rescans on its own timer, so a file written in place could be
// listed half-written. Each file is written beside the downloads folder and
// renamed in whole.
std::filesystem::path LibraryPageTest::PlaceFile(
    const std::string& name, const std::function<void(const std::filesystem::path&)>& write) {
    const std::filesystem::path staged = dir.Path() / "staged";
    write(staged);
    const std::filesystem::path file = downloads / name;
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::rename(staged, file);
    return file;
}

std::filesystem::path LibraryPageTest::WriteFile(const std::string& name, std::size_t bytes) {
    return PlaceFile(name, [bytes](const std::filesystem::path& file) {
        std::ofstream(file, std::ios::binary) << std::string(bytes, 'x');
    });
}

std::filesystem::path LibraryPageTest::WriteSong(const std::string& name, int seconds) {
    return PlaceFile(name, [seconds](const std::filesystem::path& file) {
        mp3gen::Mp3Spec spec;
        spec.durationMs = seconds * 1000;
        spec.bitrateKbps = 32;
        EXPECT_TRUE(mp3gen::WriteMp3(file, spec));
    });
}

std::filesystem::path LibraryPageTest::WriteTaggedSong(const std::string& name, int seconds,
                                                       const std::string& artist,
                                                       const std::string& title,
                                                       const std::string& album) {
    return PlaceFile(name, [&](const std::filesystem::path& file) {
        mp3gen::Mp3Spec spec;
        spec.durationMs = seconds * 1000;
        spec.bitrateKbps = 32;
        spec.tag = mp3gen::Id3v1Tag{title, artist, album, "", "", 255};
        EXPECT_TRUE(mp3gen::WriteMp3(file, spec));
    });
}

bool LibraryPageTest::RefreshUntilRows(int rows) {
    return WaitUntil([&] {
        page->Refresh();
        return LibraryList()->model()->rowCount() == rows;
    });
}

QTableView* LibraryPageTest::LibraryList() const {
    return page->findChild<QTableView*>(library_ids::kLibraryList);
}

QTableView* LibraryPageTest::Playlist() const {
    return page->findChild<QTableView*>(library_ids::kPlaylist);
}

SkinButton* LibraryPageTest::Button(const char* id) const {
    auto* button = page->findChild<SkinButton*>(id);
    EXPECT_NE(button, nullptr) << id;
    return button;
}

QLabel* LibraryPageTest::Label(const char* id) const {
    return page->findChild<QLabel*>(id);
}

std::vector<std::string> LibraryPageTest::ShownNames() const {
    const QAbstractItemModel* model = LibraryList()->model();
    std::vector<std::string> names;
    for (int row = 0; row < model->rowCount(); ++row) {
        names.push_back(model->index(row, 0).data().toString().toStdString());
    }
    return names;
}

std::vector<std::string> LibraryPageTest::ColumnTexts(int column) const {
    const QAbstractItemModel* model = LibraryList()->model();
    std::vector<std::string> texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts.push_back(model->index(row, column).data().toString().toStdString());
    }
    return texts;
}

std::vector<std::string> LibraryPageTest::SelectedNames() const {
    std::vector<std::string> names;
    const QModelIndexList rows = LibraryList()->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        names.push_back(index.data().toString().toStdString());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void LibraryPageTest::SelectNames(const std::vector<std::string>& names) {
    QItemSelectionModel* selection = LibraryList()->selectionModel();
    selection->clearSelection();
    const QAbstractItemModel* model = LibraryList()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const std::string name = model->index(row, 0).data().toString().toStdString();
        if (std::find(names.begin(), names.end(), name) != names.end()) {
            selection->select(model->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
}

void LibraryPageTest::Click(const char* id) {
    QTest::mouseClick(Button(id), Qt::LeftButton, {}, QPoint(6, 6));
}

void LibraryPageTest::DoubleClickRow(int row) {
    QTableView* list = LibraryList();
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace korvana::test
