#pragma once

#include <QStandardItemModel>
#include <QWidget>

#include <filesystem>

#include "prefs/SharingPrefs.h"
#include "prefs/ui/FolderPicker.h"

class QLineEdit;
class QTableView;

namespace korvana {

class CoreOptionsPort;
class DialogUnits;
class Prompter;
class SettingsStore;

// The "Sharing" page: the downloads folder (changed only through Browse)
// and the additional shared folders, as the core last listed them (or as
// its downloads.ini holds them) when the page is built. The page renders SharingPrefs and forwards
// the buttons to it; Save goes through Prefs().
class SharingPrefsPage : public QWidget {
    Q_OBJECT
  public:
    SharingPrefsPage(const CoreOptionsPort& core, SettingsStore& settings, Prompter& prompter,
                     const std::filesystem::path& installFolder, FolderPicker picker,
                     const DialogUnits& units, QWidget* parent = nullptr);

    SharingPrefs& Prefs() { return prefs_; }

  private:
    void Browse();
    void Add();
    void Remove();
    void ShowFolders();
    int SelectedRow() const;

    SharingPrefs prefs_;
    FolderPicker picker_;
    QLineEdit* downloadsFolder_;
    QTableView* sharedFolders_;
    QStandardItemModel rows_;
};

}  // namespace korvana
