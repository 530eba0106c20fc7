#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "tests/search/SearchTestSupport.h"

namespace korvana::test {

class SearchPagePrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(caption + ": " + text);
        return answer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool answer = false;
};

// A search page over a real session with recording doubles around it. The
// probes are stepped by the test (ProbeAll), never by the pacing task.
struct PageWorld {
    PageWorld()
        : probes(new ManualProbes),
          session(core, QuietSessionOptions(fetcher, probes)),
          model(session.Model()),
          page(session, downloads, prompter) {
        page.resize(1000, 700);
    }

    template <typename T>
    T* Find(const char* name) const {
        return page.findChild<T*>(QString::fromLatin1(name));
    }
    // Lets queued rows reach the list.
    void Settle() { page.Results().DrainNow(); }
    // Starts the probes of up to `count` waiting web results, newest first,
    // as the pacing would over time; the test runs them.
    void StartProbes(int count) {
        for (int i = 0; i < count; ++i) {
            probeTime += std::chrono::hours(1);
            session.Probes().Pace(probeTime);
        }
    }
    // Probes every web result waiting, as the pacing would over time.
    void ProbeAll() {
        while (model.ProbesWaiting()) {
            StartProbes(kMaxRunningProbes);
            probes->RunAll();
        }
        probes->RunAll();
    }

    RecordingCommands core;
    SilentWeb fetcher;
    ManualProbes* probes;
    SearchSession session;
    SearchModel& model;
    std::chrono::steady_clock::time_point probeTime;
    RecordingDownloads downloads;
    SearchPagePrompter prompter;
    SearchPage page;
};

}  // namespace korvana::test
