#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "library/LibraryScanner.h"
#include "util/TaskPool.h"

namespace korvana {

// Runs the library's folder scans off the GUI thread, never two at once,
// and hands each scan that found a change (files that came or went, or
// sizes) back on the GUI thread. The
// folder is asked for at every scan, since the preferences may move it; a
// new folder gets a scanner of its own.
class LibraryRescan : public QObject {
  public:
    using FolderSource = std::function<std::filesystem::path()>;
    using ScanResult = std::function<void(LibraryScan)>;

    LibraryRescan(FolderSource folder, ScanResult apply, QObject* parent = nullptr);
    // Waits for a scan under way; its result is dropped.
    ~LibraryRescan() override;

    // Starts a scan of the folder as it is now; false while one runs.
    bool Start();
    bool Running() const { return running_; }

  private:
    void Finish(LibraryScan scan);

    FolderSource folder_;
    ScanResult apply_;
    std::unique_ptr<LibraryScanner> scanner_;
    bool running_ = false;
    TaskPool pool_{1};
};

}  // namespace korvana
