#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/LibraryModel.h"
#include "library/ui/LibraryArtwork.h"
#include "library/ui/LibraryTableModel.h"
#include "library/ui/TrashRemover.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

std::vector<std::string>* g_warnings = nullptr;

void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && g_warnings != nullptr) {
        g_warnings->push_back(message.toStdString());
    }
}

// Collects what the model tester reports while it lives.
class WarningLog {
  public:
    WarningLog() {
        g_warnings = &warnings;
        previous_ = qInstallMessageHandler(RecordWarning);
    }
    ~WarningLog() {
        qInstallMessageHandler(previous_);
        g_warnings = nullptr;
    }
    std::vector<std::string> warnings;

  private:
    QtMessageHandler previous_ = nullptr;
};

LibraryEntry Entry(const std::string& name, std::int64_t size) {
    return MakeLibraryEntry("/music/" + name, size);
}

std::vector<std::string> Names(const QAbstractItemModel& model) {
    std::vector<std::string> names;
    for (int row = 0; row < model.rowCount(); ++row) {
        names.push_back(model.index(row, 0).data().toString().toStdString());
    }
    return names;
}

std::vector<std::string> Names(const std::vector<LibraryEntry>& rows) {
    std::vector<std::string> names;
    for (const LibraryEntry& entry : rows) {
        names.push_back(entry.fileName);
    }
    return names;
}

// A table model over a library, watched by Qt's model tester, whose
// complaints fail the test.
class LibraryTableModelTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { LoadLibraryArtwork(); }
    void TearDown() override { EXPECT_EQ(log.warnings, std::vector<std::string>{}); }

    WarningLog log;
    LibraryModel library;
    LibraryTableModel table{library};
    QAbstractItemModelTester tester{&table,
                                    QAbstractItemModelTester::FailureReportingMode::Warning};
};

TEST_F(LibraryTableModelTest, FollowsTheLibraryThroughScansAndSortsConsistently) {
    int inserted = 0;
    int removed = 0;
    int resets = 0;
    QObject::connect(&table, &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
    QObject::connect(&table, &QAbstractItemModel::rowsRemoved, [&] { ++removed; });
    QObject::connect(&table, &QAbstractItemModel::modelReset, [&] { ++resets; });

    const std::vector<std::vector<LibraryEntry>> scans = {
        {Entry("a", 10), Entry("b", 30), Entry("c", 20)},
        {Entry("a", 10), Entry("b", 30), Entry("c", 20), Entry("d", 25), Entry("e", 5)},
        {Entry("b", 30), Entry("d", 25), Entry("f", 30)},
        {},
        {Entry("g", 1)},
    };
    for (const auto& scan : scans) {
        library.ApplyScan(scan);
        table.DrainNow();
        EXPECT_EQ(Names(table), Names(library.Rows()));
    }
    EXPECT_EQ(inserted, 3);  // d, e, then f
    EXPECT_EQ(removed, 2);   // neighbours a, c, e at once, then b, d, f
    EXPECT_EQ(resets, 2);    // the first scan and the one into an empty list

    library.ApplyScan({Entry("g", 1), Entry("h", 7), Entry("B", 3)});
    table.DrainNow();
    QSignalSpy header(&table, &QAbstractItemModel::headerDataChanged);
    table.ClickColumn(kFilenameColumn);
    EXPECT_EQ(header.size(), 1);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"h", "g", "B"}));
    EXPECT_EQ(table.headerData(kFilenameColumn, Qt::Horizontal).toString().toStdString(),
              "Filename");
    EXPECT_EQ(table.index(0, kSizeColumn).data().toString().toStdString(), "7");
    EXPECT_EQ(table.index(0, kPathColumn).data().toString().toStdString(), "/music/h");
}

TEST_F(LibraryTableModelTest, ARowWhoseFileChangedSizeMovesWithItsSelection) {
    QItemSelectionModel selection(&table);
    library.ApplyScan({Entry("a", 30), Entry("b", 20), Entry("c", 0)});
    table.DrainNow();
    selection.select(table.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    library.ApplyScan({Entry("a", 30), Entry("b", 20), Entry("c", 40)});
    table.DrainNow();
    EXPECT_EQ(Names(table), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(table.index(0, kSizeColumn).data().toString().toStdString(), "40");
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].row(), 0);

    library.ApplyScan({Entry("a", 30), Entry("b", 20), Entry("c", 10)});
    table.DrainNow();
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b", "c"}));
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].row(), 2);
}

TEST_F(LibraryTableModelTest, TagColumnsFillInPlaceAndATagSortKeepsTheSelection) {
    const std::vector<std::string> titles = {"Filename", "Size",  "FilenameWithPath", "Artist",
                                             "Title",    "Album", "Length",           "Bitrate"};
    ASSERT_EQ(table.columnCount(), static_cast<int>(titles.size()));
    for (int column = 0; column < table.columnCount(); ++column) {
        EXPECT_EQ(table.headerData(column, Qt::Horizontal).toString().toStdString(),
                  titles[static_cast<std::size_t>(column)]);
    }
    std::vector<LibraryEntry> listing;
    for (int i = 0; i < 100; ++i) {
        listing.push_back(Entry("f" + std::to_string(i), i));
    }
    library.ApplyScan(listing);
    library.ClickColumn(kArtistColumn);
    table.DrainNow();
    QItemSelectionModel selection(&table);
    selection.select(table.index(10, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::string selected = table.index(10, 0).data().toString().toStdString();
    int resets = 0;
    QObject::connect(&table, &QAbstractItemModel::modelReset, [&] { ++resets; });

    std::vector<LibraryEntry> tagged = listing;
    for (std::size_t i = 0; i < tagged.size(); ++i) {
        tagged[i].tags = {"artist " + std::to_string((i * 7) % 100), "title", "album", 215, 128};
    }
    library.ApplyTags(tagged);
    table.DrainNow();
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(Names(table), Names(library.Rows()));
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].data().toString().toStdString(), selected);
    EXPECT_EQ(table.index(0, kLengthColumn).data().toString().toStdString(), "3:35");
    EXPECT_EQ(table.index(0, kBitrateColumn).data().toString().toStdString(), "128 kbps");
    EXPECT_EQ(table.index(0, kAlbumColumn).data().toString().toStdString(), "album");

    library.SetFilter(WordFilter("artist 9"));
    table.DrainNow();
    EXPECT_EQ(Names(table), Names(library.Rows()));
    library.SetFilter(WordFilter("artist"));
    table.DrainNow();
    EXPECT_EQ(table.rowCount(), 100);
}

// Points the desktop's home and data folders at a temporary folder for the
// life of the object, so that the trash is one the test can look into.
class HomeGuard {
  public:
    explicit HomeGuard(const std::filesystem::path& home)
        : home_(qgetenv("HOME")), data_(qgetenv("XDG_DATA_HOME")) {
        qputenv("HOME", QByteArray::fromStdString(home.string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / "data").string()));
    }
    ~HomeGuard() {
        qputenv("HOME", home_);
        qputenv("XDG_DATA_HOME", data_);
    }

  private:
    QByteArray home_;
    QByteArray data_;
};

std::filesystem::path WriteDownload(const std::filesystem::path& home) {
    const std::filesystem::path file = home / "Downloads" / "song.mp3";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "music";
    return file;
}

// Runs the program from another folder for the life of the object.
class WorkingFolderGuard {
  public:
    explicit WorkingFolderGuard(const std::filesystem::path& folder)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolderGuard() { std::filesystem::current_path(before_); }

  private:
    std::filesystem::path before_;
};

TEST(TrashRemoverTest, MovesTheFileToTheTrashOrElseDeletesIt) {
    TempDir dir;
    const HomeGuard guard(dir.Path());
    const std::filesystem::path working = dir.Path() / "working";
    std::filesystem::create_directories(working);
    // Without a data folder the desktop has no trash: the file is deleted,
    // not put somewhere under the folder the program runs in.
    const std::filesystem::path file = WriteDownload(dir.Path());
    {
        const WorkingFolderGuard in(working);
        ASSERT_TRUE(MoveToTrashOrDelete(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data"));
    EXPECT_TRUE(std::filesystem::is_empty(working));
    EXPECT_FALSE(MoveToTrashOrDelete(file));

    std::filesystem::create_directories(dir.Path() / "data");
    WriteDownload(dir.Path());
    ASSERT_TRUE(MoveToTrashOrDelete(file));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "data" / "Trash" / "files" / "song.mp3"));
}

}  // namespace
}  // namespace korvana::test
