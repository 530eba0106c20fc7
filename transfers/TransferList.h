#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/CoreSinks.h"
#include "core/TransferItem.h"
#include "util/RowChanges.h"
#include "web/download/WebDownloadSink.h"

namespace korvana {

class Clock;
class StatusLog;

// The download and upload lists, guarded by one lock, "downloads_lock". The core link's receive
// thread, every web download thread and the GUI thread all write here; the rows the page shows are
// built from these records (TransferBoard) when the list's notice says a
// record changed, at most once a second.
//
// Records are kept newest first. A download's key identifies it: a core
// download's file number, a web download's link.
class TransferList final : public TransferSink, public WebDownloadSink {
  public:
    TransferList(const Clock& clock, StatusLog& log);
    TransferList(const TransferList&) = delete;
    TransferList& operator=(const TransferList&) = delete;

    // "downloads_lock", for walking the records. Every call below takes it
    // itself unless it says the caller holds it; none of those may be made
    // while holding it.
    std::unique_lock<std::mutex> Lock();

    // Raised when a record changes in a way its row can show, once until
    // the board takes the changes (with the lock held). The core reports
    // every download and shared file again every few seconds; a report that
    // brings nothing new does not raise it.
    ChangeNotice& Notice() { return notice_; }

    // A core download from the download list: a known key takes the new
    // progress, rate and state (its name and size never change); an unknown
    // one is added.
    void AddOrUpdateDownload(TransferItem item) override;
    void UpdateDownloadProgress(std::int32_t fileNumber, std::int64_t downloaded,
                                double rate) override;
    void AddOrUpdateUpload(UploadItem item) override;

    void OpenWebDownload(const std::string& key, const std::string& name) override;
    bool ReportWebDownload(const std::string& key, const std::string& name, std::int64_t received,
                           std::int64_t total, int code) override;
    void PlaceWebDownload(const std::string& key, const std::filesystem::path& file) override;

    // Whether a search result is already in the list: a web result by its
    // link, compared with the web downloads' keys ignoring letter case; a
    // core result by its file name, compared with the core downloads' names
    // as given or as the core changes them (a core result's id is not the
    // file number its download gets).
    bool HasWebDownload(std::string_view link);
    bool HasCoreDownload(std::string_view fileName);

    // The web downloads running at the last refresh and their summed
    // average rate in bytes per second. Safe from any thread without the lock.
    int activeWebDownloads() const { return activeWebDownloads_.load(); }
    std::int64_t webDownloadRate() const { return webDownloadRate_.load(); }

    // --- With the lock held ---

    // Newest first; `visit` may change the record but not its key.
    template <typename Visit>
    void ForEachDownload(Visit&& visit) {
        for (TransferItem& item : downloads_) {
            visit(item);
        }
    }
    template <typename Visit>
    void ForEachUpload(Visit&& visit) {
        for (UploadItem& item : uploads_) {
            visit(item);
        }
    }
    // The record with exactly this key (a link in the same letter case), or
    // none.
    TransferItem* FindDownload(const TransferKey& key);
    // Unlinks and frees the record with exactly this key. For the board's
    // commands, which refresh the rows at once: raises no notice.
    void RemoveDownload(const TransferKey& key);
    std::size_t DownloadCount() const { return downloads_.size(); }
    void SetWebTotals(int count, std::int64_t bytesPerSecond);

  private:
    using Downloads = std::list<TransferItem>;

    Downloads::iterator* FindExactLink(std::string_view link);
    TransferItem* FindLinkIgnoringCase(std::string_view link);
    void Insert(TransferItem item);

    const Clock& clock_;
    StatusLog& log_;
    std::mutex downloadsLock_;
    ChangeNotice notice_;
    Downloads downloads_;
    std::unordered_map<std::int32_t, Downloads::iterator> coreByFileNumber_;
    // Links, cut to a key's length and folded to lower case -> their web
    // downloads, oldest first. Exact links are unique; links that differ
    // only in letter case share an entry.
    std::unordered_map<std::string, std::vector<Downloads::iterator>> byLink_;
    std::list<UploadItem> uploads_;
    std::unordered_map<std::int32_t, std::list<UploadItem>::iterator> uploadsByFileNumber_;
    std::atomic<int> activeWebDownloads_{0};
    std::atomic<std::int64_t> webDownloadRate_{0};
};

}  // namespace korvana
