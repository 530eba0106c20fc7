#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "library/LibraryScanner.h"
#include "library/RescanPace.h"
#include "util/TaskPool.h"

namespace korvana {

// Runs the library's folder scans off the GUI thread, never two at once,
// and hands each scan that found a change (files that came or went, or
// sizes) back on the GUI thread. The scans come at the pace RescanPace
// sets: every few seconds while the folder changes, rarely once it is
// quiet, and soon after the folder watcher (on the downloads folder and
// every folder below it) reports a change. The folder is asked for at
// every scan, since the preferences may move it; a new folder gets a
// scanner of its own, and the watcher follows it.
class LibraryRescan : public QObject {
  public:
    // Watches are a resource the whole desktop shares.
    static constexpr qsizetype kMostWatchedFolders = 4096;

    using FolderSource = std::function<std::filesystem::path()>;
    using ScanResult = std::function<void(LibraryScan)>;

    // The first scan comes `timing.busy` after creation. At most
    // `mostWatched` folders are watched, those nearest the top.
    LibraryRescan(FolderSource folder, ScanResult apply, RescanTiming timing = {},
                  qsizetype mostWatched = kMostWatchedFolders, QObject* parent = nullptr);
    // Waits for a scan under way; its result is dropped.
    ~LibraryRescan() override;

    // Starts a scan of the folder as it is now. While one runs, which may
    // have read the folder before the caller's change, another follows it
    // as soon as it is back; false then.
    bool Start();
    // What the watcher reports: the folder or one below it changed.
    void FolderChanged();

    bool Running() const { return running_; }
    bool Quiet() const { return pace_.Quiet(); }
    // How long until the next scan starts; nothing while one runs.
    std::optional<std::chrono::milliseconds> NextScanIn() const;
    // The folders the watcher follows.
    QStringList Watched() const { return watcher_.directories(); }

  private:
    void Finish(LibraryScan scan);
    void Watch(const std::vector<std::string>& folders);
    QStringList Wanted(const std::vector<std::string>& folders) const;

    FolderSource folder_;
    ScanResult apply_;
    RescanPace pace_;
    qsizetype mostWatched_;
    std::unique_ptr<LibraryScanner> scanner_;
    bool running_ = false;
    bool again_ = false;
    QTimer timer_;
    QFileSystemWatcher watcher_;
    TaskPool pool_{1};
};

}  // namespace korvana
