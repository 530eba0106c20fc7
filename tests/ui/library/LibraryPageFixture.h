#pragma once

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/SkinButton.h"
#include "library/ui/LibraryIds.h"
#include "library/ui/LibraryPage.h"
#include "platform/DesktopOpener.h"
#include "platform/media/NullMediaBackend.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"

namespace korvana::test {

// A Library page over a temporary downloads folder, with a silent player on
// a fake clock, shown offscreen at 1000 by 560.
class LibraryPageTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A file of `bytes` bytes in the downloads folder (or below it).
    std::filesystem::path WriteFile(const std::string& name, std::size_t bytes);
    // A silent MP3 of `seconds` seconds in the downloads folder.
    std::filesystem::path WriteSong(const std::string& name, int seconds);
    // The same with an ID3v1 tag.
    std::filesystem::path WriteTaggedSong(const std::string& name, int seconds,
                                          const std::string& artist, const std::string& title,
                                          const std::string& album);
    std::filesystem::path PlaceFile(const std::string& name,
                                    const std::function<void(const std::filesystem::path&)>& write);
    // Rescans until the list shows `rows` rows.
    bool RefreshUntilRows(int rows);

    QTableView* LibraryList() const;
    QTableView* Playlist() const;
    SkinButton* Button(const char* id) const;
    QLabel* Label(const char* id) const;
    // The file names of the list's rows, top to bottom.
    std::vector<std::string> ShownNames() const;
    std::vector<std::string> SelectedNames() const;
    // The texts of one column, top to bottom.
    std::vector<std::string> ColumnTexts(int column) const;
    // Selects the rows showing these file names.
    void SelectNames(const std::vector<std::string>& names);
    void Click(const char* id);
    void DoubleClickRow(int row);

    TempDir dir;
    std::filesystem::path downloads;
    std::filesystem::path tempPlay;
    FakeClock clock;
    RecordingPrompter prompter;
    RecordingOpener opener;
    NullMediaBackend* media = nullptr;
    std::vector<std::string> removed;
    std::unique_ptr<LibraryPage> page;
};

}  // namespace korvana::test
