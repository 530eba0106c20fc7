#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "library/LibraryScanner.h"
#include "library/RescanPace.h"
#include "library/TagQueue.h"
#include "util/TaskPool.h"

namespace korvana {

// Runs the library's folder scans off the GUI thread, never two at once,
// and hands each scan that found a change (files that came or went, or
// sizes) back on the GUI thread. The scans come at the pace RescanPace
// sets: every few seconds while the folder changes, rarely once it is
// quiet, and soon after the folder watcher (on the downloads folder and
// every folder below it) reports a change. About once per quiet spell a
// scan also stats every known file, for the files rewritten in place that
// no watcher reports. The folder is asked for at
// every scan, since the preferences may move it; a new folder gets a
// scanner of its own, and the watcher follows it.
//
// The scan's files come with the tags already known; the worker then reads
// the tags of the files new or changed, a batch at a time, each batch
// handed back on the GUI thread. A scan that is asked for, or the rescan
// going away, stops the reading after the batch under way; what is left
// is read after the next scan.
class LibraryRescan : public QObject {
  public:
    // Watches are a resource the whole desktop shares.
    static constexpr qsizetype kMostWatchedFolders = 4096;

    using FolderSource = std::function<std::filesystem::path()>;
    using ScanResult = std::function<void(LibraryScan)>;
    using TagsResult = std::function<void(std::vector<LibraryEntry>)>;

    // A batch of tags goes to the GUI thread after this long of reading, or
    // this many files, whichever comes first: few enough batches that the
    // view takes each in one step, soon enough that the first rows fill in
    // at once.
    static constexpr std::chrono::milliseconds kTagBatchTime{100};
    static constexpr std::size_t kMostTagBatch = 4096;

    // The first scan comes `timing.busy` after creation. At most
    // `mostWatched` folders are watched, those nearest the top.
    LibraryRescan(FolderSource folder, ScanResult apply, TagsResult tagsRead,
                  RescanTiming timing = {}, qsizetype mostWatched = kMostWatchedFolders,
                  QObject* parent = nullptr);
    // Waits for a scan or batch of tags under way; its result is dropped.
    ~LibraryRescan() override;

    // Starts a scan of the folder as it is now. While one runs, which may
    // have read the folder before the caller's change, another follows it
    // as soon as it is back; false then.
    bool Start();
    // What the watcher reports: the folder or one below it changed.
    void FolderChanged();

    // Called before the first scan, if at all: the first scan's task loads
    // the tags kept in `file` (TagStore), and the tags known are saved
    // there, whole, each time the reading of tags has caught up after
    // reading some. An empty path keeps nothing.
    void KeepTagsIn(std::filesystem::path file) { tagStore_ = std::move(file); }

    bool Running() const { return running_; }
    // Neither a scan nor the reading of tags is under way.
    bool Idle() const { return !running_ && !pool_.Busy(); }
    // Files whose tags were read since the rescan was made.
    std::size_t TagReads() const { return tags_.Cache().Reads(); }
    bool Quiet() const { return pace_.Quiet(); }
    // How long until the next scan starts; nothing while one runs.
    std::optional<std::chrono::milliseconds> NextScanIn() const;
    // The folders the watcher follows.
    QStringList Watched() const { return watcher_.directories(); }

  private:
    void Finish(LibraryScan scan);
    // The worker's part after a scan.
    void ReadWaitingTags();
    void LoadStoredTags();
    void SaveStoredTags();
    void Watch(const std::vector<std::string>& folders);
    QStringList Wanted(const std::vector<std::string>& folders) const;

    FolderSource folder_;
    ScanResult apply_;
    TagsResult tagsRead_;
    RescanPace pace_;
    qsizetype mostWatched_;
    std::unique_ptr<LibraryScanner> scanner_;
    bool running_ = false;
    bool again_ = false;
    QTimer timer_;
    QFileSystemWatcher watcher_;
    // Touched only by the pool's task.
    TagQueue tags_;
    std::filesystem::path tagStore_;
    bool storeLoaded_ = false;
    std::size_t savedReads_ = 0;
    // Set on the GUI thread when the reading of tags should end, and when
    // no more work should start at all.
    std::atomic<bool> stopTags_{false};
    std::atomic<bool> closing_{false};
    TaskPool pool_{1};
};

}  // namespace korvana
