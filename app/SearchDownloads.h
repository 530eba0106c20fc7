#pragma once

#include <string>

#include "search/DownloadStarter.h"
#include "transfers/TransferList.h"
#include "web/download/WebDownloads.h"

namespace korvana {

// The search page's Download Selected, carried out by the transfer list and
// the web downloads.
class SearchDownloads final : public DownloadStarter {
  public:
    SearchDownloads(TransferList& list, WebDownloads& web) : list_(list), web_(web) {}

    bool HasTransfer(const std::string& linkOrName, bool isWeb) const override {
        return isWeb ? list_.HasWebDownload(linkOrName) : list_.HasCoreDownload(linkOrName);
    }
    void StartWebDownload(const std::string& link, const std::string& fileName) override {
        web_.StartWebDownload(link, fileName);
    }

  private:
    TransferList& list_;
    WebDownloads& web_;
};

}  // namespace korvana
