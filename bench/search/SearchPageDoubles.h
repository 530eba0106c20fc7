#pragma once

#include <string>

#include "platform/Prompter.h"
#include "search/DownloadStarter.h"

namespace korvana::bench {

// What a search page measured alone asks of the rest of the program: no
// message is ever shown and nothing is downloaded.
class QuietPrompter final : public Prompter {
  public:
    void Inform(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class NoDownloads final : public DownloadStarter {
  public:
    bool HasTransfer(const std::string&, bool) const override { return false; }
    void StartWebDownload(const std::string&, const std::string&) override {}
};

}  // namespace korvana::bench
