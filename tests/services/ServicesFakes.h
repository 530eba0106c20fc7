#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"
#include "services/UpdateOffer.h"
#include "tools/sim/web/SimWebServer.h"

namespace korvana::test::vendor {

// Message boxes recorded instead of shown; AskYesNo gives `answer`.
class RecordingPrompter final : public Prompter {
  public:
    struct Box {
        bool question;
        std::string text;
        std::string caption;
        std::thread::id thread;
    };

    void Inform(const std::string& text, const std::string& caption) override {
        Record({false, text, caption, std::this_thread::get_id()});
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        Record({true, text, caption, std::this_thread::get_id()});
        return answer;
    }
    std::vector<Box> Boxes() const {
        std::lock_guard lock(mutex_);
        return boxes_;
    }

    bool answer = false;

  private:
    void Record(Box box) {
        std::lock_guard lock(mutex_);
        boxes_.push_back(std::move(box));
    }

    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
};

class RecordingOpener final : public DesktopOpener {
  public:
    void OpenPath(const std::string& path) override { paths.push_back(path); }
    void OpenUrl(const std::string& url) override { urls.push_back(url); }

    std::vector<std::string> paths;
    std::vector<std::string> urls;
};

class RecordingListener final : public UpdateListener {
  public:
    void NewerVersionAvailable(const UpdateNews& news) override {
        std::lock_guard lock(mutex_);
        news_.push_back(news);
    }
    std::vector<UpdateNews> News() const {
        std::lock_guard lock(mutex_);
        return news_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<UpdateNews> news_;
};

// The request targets (path and query) the simulated web received for `path`.
inline std::vector<std::string> TargetsOf(const sim::SimWebServer& server,
                                          const std::string& path) {
    std::vector<std::string> targets;
    for (const sim::SimRequest& request : server.Requests()) {
        if (request.target.substr(0, request.target.find('?')) == path) {
            targets.push_back(request.target);
        }
    }
    return targets;
}

// Polls `condition` for up to ten seconds; whether it held.
template <typename Condition>
bool PollUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace korvana::test::vendor
