#include "services/DownloadNotices.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace korvana {
namespace {

DesktopNotice Single(const DownloadOutcome& outcome) {
    if (outcome.failed) {
        return {"Download failed",
                outcome.name + (outcome.reason.empty() ? "" : ": " + outcome.reason)};
    }
    return {"Download finished", outcome.name};
}

std::string Names(const std::vector<const DownloadOutcome*>& outcomes) {
    std::string names;
    for (std::size_t i = 0; i < outcomes.size() && i < DownloadNotices::kMostNamesListed; ++i) {
        names += (i == 0 ? "" : "\n") + outcomes[i]->name;
    }
    if (outcomes.size() > DownloadNotices::kMostNamesListed) {
        names += "\nand " + std::to_string(outcomes.size() - DownloadNotices::kMostNamesListed) +
                 " more";
    }
    return names;
}

void AddGrouped(const std::vector<const DownloadOutcome*>& outcomes, bool failed,
                std::vector<DesktopNotice>& notices) {
    if (outcomes.size() == 1) {
        notices.push_back(Single(*outcomes.front()));
    }
    if (outcomes.size() <= 1) {
        return;
    }
    const std::string count = std::to_string(outcomes.size());
    notices.push_back(
        {failed ? count + " downloads failed" : count + " downloads finished", Names(outcomes)});
}

}  // namespace

void DownloadNotices::Note(DownloadOutcome outcome, bool windowActive) {
    if (!enabled_ || windowActive) {
        return;
    }
    if (waiting_.empty()) {
        due_ = clock_.Now() + kGatherTime;
    }
    waiting_.push_back(std::move(outcome));
}

std::optional<std::chrono::steady_clock::time_point> DownloadNotices::NextDue() const {
    if (waiting_.empty()) {
        return std::nullopt;
    }
    return due_;
}

std::vector<DesktopNotice> DownloadNotices::TakeDue() {
    std::vector<DesktopNotice> notices;
    if (waiting_.empty() || clock_.Now() < due_) {
        return notices;
    }
    if (waiting_.size() <= kMostSingleNotices) {
        std::transform(waiting_.begin(), waiting_.end(), std::back_inserter(notices), Single);
    } else {
        std::vector<const DownloadOutcome*> finished;
        std::vector<const DownloadOutcome*> failed;
        for (const DownloadOutcome& outcome : waiting_) {
            (outcome.failed ? failed : finished).push_back(&outcome);
        }
        AddGrouped(finished, false, notices);
        AddGrouped(failed, true, notices);
    }
    waiting_.clear();
    return notices;
}

bool ReadDownloadNoticesChoice(const SettingsStore& settings) {
    return settings.Read(kDownloadNoticesKey).value_or("1") != "0";
}

void WriteDownloadNoticesChoice(SettingsStore& settings, bool wanted) {
    settings.Write(kDownloadNoticesKey, wanted ? "1" : "0");
}

}  // namespace korvana
