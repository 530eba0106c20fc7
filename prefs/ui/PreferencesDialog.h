#pragma once

#include <QDialog>

#include <filesystem>

#include "prefs/ui/FolderPicker.h"
#include "web/engines/EngineDefinition.h"

class QKeyEvent;
class QListWidget;
class QModelIndex;
class QStackedWidget;

namespace korvana {

class CoreOptionsPort;
class CorePrefsPage;
class GeneralPrefsPage;
class NetworksPrefsPage;
class Prompter;
class SettingsStore;
class SharingPrefsPage;
class WebEnginesPrefsPage;

// The preferences dialog: the page list, the four pages and Save/Cancel.
// Built for one modal run (exec()): the pages are filled from the core's
// options and downloads.ini at construction. Save sends every setting the
// core reported to the core, applies the downloads and shared folders, then
// has the core write its configuration, stores the Core page's settings,
// and accepts; when a number box (or the core's port) is
// invalid it says which and stays open, having sent nothing. Cancel, Escape
// and the close box send nothing. Enter presses only a button that has the keyboard focus: in
// a box it does nothing, so a stray Enter neither saves nor opens a picker.
class PreferencesDialog : public QDialog {
    Q_OBJECT
  public:
    // `core`, `settings` and `prompter` must outlive the dialog.
    // `installFolder` holds the core's folder (mldonkey/downloads.ini) and
    // the default downloads folder. `picker` answers Browse and Add;
    // PickFolderWithDialog is the desktop's dialog. `engines` are the
    // user's engine definitions as loaded at start-up.
    PreferencesDialog(CoreOptionsPort& core, SettingsStore& settings, Prompter& prompter,
                      const std::filesystem::path& installFolder, const LoadedDefinitions& engines,
                      FolderPicker picker = PickFolderWithDialog, QWidget* parent = nullptr);

    // The index of the page on show: 0 General, 1 Networks, 2 Sharing, 3 Core,
    // 4 Web engines.
    int VisiblePage() const;

    // Cancel, Escape and the close box; ignored while a Save is under way.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildPageList();
    void PageListClicked();
    void Save();

    CoreOptionsPort& core_;
    SettingsStore& settings_;
    Prompter& prompter_;
    QListWidget* pageList_;
    QStackedWidget* pageHost_;
    GeneralPrefsPage* general_;
    NetworksPrefsPage* networks_;
    SharingPrefsPage* sharing_;
    CorePrefsPage* corePage_;
    WebEnginesPrefsPage* enginesPage_;
    bool saving_ = false;
};

}  // namespace korvana
