#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "search/SearchModel.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "tests/search/SearchTestSupport.h"
#include "web/PageFetcher.h"
#include "web/WebSearch.h"

namespace korvana::test {

// Web engines that find nothing and end at once.
class SilentWeb final : public PageFetcher {
  public:
    std::string FetchPage(const std::string&) override { return {}; }
    std::string FetchPostPage(const std::string&) override { return {}; }
    std::string FetchWithSystemHttp(const std::string&) override { return {}; }
    bool Pause(std::chrono::milliseconds) override { return false; }
    bool Stopping() const override { return true; }
};

class SearchPagePrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::vector<std::string> messages;
};

// A search page over a real model with recording doubles around it.
struct PageWorld {
    PageWorld()
        : probes(new ManualProbes),
          model(std::unique_ptr<HeaderProbes>(probes)),
          web(EngineUrls{}, model, fetcher),
          page(model, core, web, downloads, prompter) {
        page.resize(1000, 700);
    }

    template <typename T>
    T* Find(const char* name) const {
        return page.findChild<T*>(QString::fromLatin1(name));
    }
    // Lets queued rows reach the list.
    void Settle() { page.Results().Drain(); }

    RecordingCommands core;
    ManualProbes* probes;
    SearchModel model;
    SilentWeb fetcher;
    WebSearch web;
    RecordingDownloads downloads;
    SearchPagePrompter prompter;
    SearchPage page;
};

}  // namespace korvana::test
