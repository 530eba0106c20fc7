#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "prefs/DownloadsIni.h"
#include "prefs/ui/PreferencesDialog.h"
#include "tests/prefs/PrefsFakes.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

namespace korvana::test {

using Lines = std::vector<std::string>;

// An installation in a temporary folder, a core that reports the options it
// is given and records what it is sent, message boxes that record, and a
// folder picker that hands out queued answers (nothing when the queue is
// empty, as if the user cancelled).
class PrefsDialogFixture {
  public:
    PrefsDialogFixture() : install(dir.Path() / "Korvana"), downloads(install / "Downloads") {
        std::filesystem::create_directories(downloads);
    }

    void WriteDownloadsIni(const Lines& folders) {
        std::filesystem::create_directories(install / "mldonkey");
        std::ofstream out(DownloadsIniPath(install), std::ios::binary);
        out << " shared_directories = [\n";
        for (const std::string& folder : folders) {
            out << "  {     dirname = \"" << folder << "\"\n     strategy = only_directory\n};\n";
        }
        out << "]\n";
    }

    // What a fresh 3.2.1 core reports: its limits, every network switch,
    // and ports only for the networks built into it.
    void ReportRealCore() {
        for (const auto& [name, value] :
             std::vector<std::pair<std::string, std::string>>{{"max_hard_download_rate", "50"},
                                                              {"max_hard_upload_rate", "7"},
                                                              {"max_upload_slots", "5"},
                                                              {"max_concurrent_downloads", "60"},
                                                              {"enable_gnutella", "false"},
                                                              {"enable_gnutella2", "false"},
                                                              {"enable_donkey", "true"},
                                                              {"enable_fasttrack", "false"},
                                                              {"enable_overnet", "true"},
                                                              {"enable_directconnect", "false"},
                                                              {"enable_soulseek", "false"},
                                                              {"enable_opennap", "false"},
                                                              {"ED2K-port", "4662"},
                                                              {"FT-client_port", "1214"},
                                                              {"DC-client_port", "4444"}}) {
            core.Report(name, value);
        }
    }

    PreferencesDialog& Open() {
        dialog =
            std::make_unique<PreferencesDialog>(core, settings, prompter, install, engines,
                                                [this](QWidget*) -> std::optional<std::string> {
                                                    ++pickerRuns;
                                                    if (picks.empty()) {
                                                        return std::nullopt;
                                                    }
                                                    std::string picked = picks.front();
                                                    picks.pop_front();
                                                    return picked;
                                                });
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get())) {
            throw std::runtime_error("the preferences dialog did not become active");
        }
        return *dialog;
    }

    template <typename Widget>
    Widget& Find(const char* name) const {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }

    void Click(const char* buttonName) {
        QTest::mouseClick(&Find<QPushButton>(buttonName), Qt::LeftButton);
    }

    // Replaces the text of an edit box by typing, as a user would.
    void Type(const char* editName, const QString& text) {
        QLineEdit& edit = Find<QLineEdit>(editName);
        edit.setFocus();
        edit.selectAll();
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClicks(&edit, text);
    }

    void ClickPageItem(int row) {
        QListWidget& list = Find<QListWidget>("IDC_PREFS_LIST");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(row)).center());
    }

    TempDir dir;
    std::filesystem::path install;
    std::filesystem::path downloads;
    MemorySettings settings;
    RecordingCore core;
    RecordingPrompter prompter;
    std::deque<std::string> picks;
    int pickerRuns = 0;
    LoadedDefinitions engines;
    std::unique_ptr<PreferencesDialog> dialog;
};

}  // namespace korvana::test
