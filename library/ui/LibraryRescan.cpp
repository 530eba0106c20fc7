#include "library/ui/LibraryRescan.h"

#include <QFile>
#include <algorithm>
#include <iterator>
#include <utility>

#include "library/TagStore.h"

namespace korvana {
namespace {

// Now in the time that files are stamped with.
std::int64_t FileClockNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

LibraryRescan::LibraryRescan(FolderSource folder, ScanResult apply, TagsResult tagsRead,
                             RescanTiming timing, qsizetype mostWatched, QObject* parent)
    : QObject(parent),
      folder_(std::move(folder)),
      apply_(std::move(apply)),
      tagsRead_(std::move(tagsRead)),
      pace_(timing),
      mostWatched_(mostWatched) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &LibraryRescan::Start);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LibraryRescan::FolderChanged);
    timer_.start(pace_.Timing().busy);
}

LibraryRescan::~LibraryRescan() {
    closing_ = true;
    pool_.WaitUntilIdle();
}

// The next scan is timed from the end of this one.
bool LibraryRescan::Start() {
    if (running_) {
        again_ = true;
        return false;
    }
    timer_.stop();
    std::filesystem::path folder = folder_();
    if (!scanner_ || scanner_->Folder() != folder) {
        scanner_ = std::make_unique<LibraryScanner>(std::move(folder));
    }
    running_ = true;
    stopTags_ = true;
    // The scanner is touched only by this task until its result is back:
    // no new scan starts while `running_` is set. The pool's one thread
    // runs it after the reading of tags that the flag stops.
    LibraryScanner* scanner = scanner_.get();
    const LibraryScanner::Look look = pace_.EveryFileDue(std::chrono::steady_clock::now())
                                          ? LibraryScanner::Look::EveryFile
                                          : LibraryScanner::Look::Changes;
    pool_.Post([this, scanner, look] {
        if (closing_) {
            return;
        }
        stopTags_ = false;
        LoadStoredTags();
        LibraryScan scan = scanner->Scan(look);
        tags_.Attach(scan, FileClockNow());
        QMetaObject::invokeMethod(
            this, [this, scan = std::move(scan)]() mutable { Finish(std::move(scan)); },
            Qt::QueuedConnection);
        ReadWaitingTags();
        SaveStoredTags();
    });
    return true;
}

void LibraryRescan::LoadStoredTags() {
    if (!std::exchange(storeLoaded_, true) && !tagStore_.empty()) {
        tags_.Remember(LoadTagStore(tagStore_));
    }
}

// Reading stopped half-way (a new scan, or the program closing) saves
// nothing: the next round of reading ends with a save.
void LibraryRescan::SaveStoredTags() {
    if (tagStore_.empty() || tags_.Waiting() || closing_ || tags_.Cache().Reads() == savedReads_) {
        return;
    }
    savedReads_ = tags_.Cache().Reads();
    SaveTagStore(tagStore_, tags_.Cache().Entries());
}

void LibraryRescan::ReadWaitingTags() {
    const auto stopped = [this] { return stopTags_ || closing_; };
    while (!stopped() && tags_.Waiting()) {
        const auto until = std::chrono::steady_clock::now() + kTagBatchTime;
        std::vector<LibraryEntry> read;
        while (!stopped() && tags_.Waiting() && read.size() < kMostTagBatch &&
               std::chrono::steady_clock::now() < until) {
            std::vector<LibraryEntry> some = tags_.ReadSome(16);
            std::move(some.begin(), some.end(), std::back_inserter(read));
        }
        if (!read.empty()) {
            QMetaObject::invokeMethod(
                this, [this, read = std::move(read)]() mutable { tagsRead_(std::move(read)); },
                Qt::QueuedConnection);
        }
    }
}

// A scan under way schedules the next one itself when it is back.
void LibraryRescan::FolderChanged() {
    const std::chrono::milliseconds latest = pace_.FolderChanged();
    if (!running_ && (!timer_.isActive() || timer_.remainingTimeAsDuration() > latest)) {
        timer_.start(latest);
    }
}

std::optional<std::chrono::milliseconds> LibraryRescan::NextScanIn() const {
    if (running_ || !timer_.isActive()) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(timer_.remainingTimeAsDuration());
}

void LibraryRescan::Finish(LibraryScan scan) {
    running_ = false;
    const bool changed = scan.changed || !scan.resized.empty();
    if (scan.changed) {
        Watch(scan.folders);
    }
    timer_.start(pace_.ScanDone(changed));
    if (changed) {
        apply_(std::move(scan));
    }
    if (std::exchange(again_, false)) {
        Start();
    }
}

// The folders nearest the top, as many as the watcher takes; the quiet
// scans look after the rest of a very deep tree.
QStringList LibraryRescan::Wanted(const std::vector<std::string>& folders) const {
    QStringList wanted;
    wanted.reserve(static_cast<qsizetype>(folders.size()));
    for (const std::string& folder : folders) {
        wanted.append(QFile::decodeName(QByteArray::fromStdString(folder)));
    }
    if (wanted.size() > mostWatched_) {
        std::stable_sort(wanted.begin(), wanted.end(), [](const QString& a, const QString& b) {
            return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/'));
        });
        wanted.resize(mostWatched_);
    }
    std::sort(wanted.begin(), wanted.end());
    return wanted;
}

// Only the folders that came or went are added or removed, so a big tree
// that keeps its folders costs nothing here. A folder the system will not
// watch is left to the quiet scans.
void LibraryRescan::Watch(const std::vector<std::string>& folders) {
    QStringList watched = watcher_.directories();
    std::sort(watched.begin(), watched.end());
    const QStringList wanted = Wanted(folders);
    QStringList gone;
    std::set_difference(watched.begin(), watched.end(), wanted.begin(), wanted.end(),
                        std::back_inserter(gone));
    QStringList added;
    std::set_difference(wanted.begin(), wanted.end(), watched.begin(), watched.end(),
                        std::back_inserter(added));
    if (!gone.isEmpty()) {
        watcher_.removePaths(gone);
    }
    if (!added.isEmpty()) {
        watcher_.addPaths(added);
    }
}

}  // namespace korvana
