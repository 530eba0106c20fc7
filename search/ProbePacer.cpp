#include "search/ProbePacer.h"

#include "search/ProbeHeader.h"
#include "search/SearchModel.h"

namespace korvana {

ProbePacer::ProbePacer(SearchModel& model, std::unique_ptr<HeaderProbes> probes,
                       std::chrono::milliseconds gap)
    : model_(model),
      gap_(gap),
      probes_(probes ? std::move(probes) : std::make_unique<HttpHeaderProbes>()) {}

ProbePacer::~ProbePacer() {
    Stop();
}

void ProbePacer::Wake() {
    std::lock_guard lock(mutex_);
    if (stopping_.load()) {
        return;
    }
    woken_ = true;
    if (!pacing_) {
        pacing_ = true;
        pacer_.Post([this] { PaceTask(); });
    }
}

bool ProbePacer::Pacing() const {
    std::lock_guard lock(mutex_);
    return pacing_;
}

std::optional<ProbePacer::TimePoint> ProbePacer::Pace(TimePoint now) {
    ++steps_;
    if (stopping_.load() || !model_.ProbesWaiting()) {
        return std::nullopt;
    }
    if (running_.load() >= kMaxRunningProbes) {
        return TimePoint::max();
    }
    if (lastStart_ && now < *lastStart_ + gap_) {
        return *lastStart_ + gap_;
    }
    ProbeJob job = model_.TakeNextToProbe();
    if (!job) {
        return std::nullopt;
    }
    ++running_;
    lastStart_ = now;
    probes_->Start([this, job = std::move(job)] { ProbeTask(job); });
    return model_.ProbesWaiting() ? std::optional(now + gap_) : std::nullopt;
}

// Runs while results wait: it sleeps until the next start is due, or until
// a slot frees while every one is taken, and ends once none waits. Woken
// from rest, it first lets one gap pass: an engine's page of results lands
// in a burst, which is listed (as of unknown size) and then probed newest
// first.
void ProbePacer::PaceTask() {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, gap_, [this] { return stopping_.load(); });
    while (!stopping_.load()) {
        woken_ = false;
        lock.unlock();
        const std::optional<TimePoint> next = Pace(std::chrono::steady_clock::now());
        lock.lock();
        if (!next) {
            if (woken_) {
                continue;
            }
            break;
        }
        if (*next == TimePoint::max()) {
            wake_.wait(lock,
                       [this] { return stopping_.load() || running_.load() < kMaxRunningProbes; });
        } else {
            wake_.wait_until(lock, *next, [this] { return stopping_.load(); });
        }
    }
    pacing_ = false;
}

void ProbePacer::ProbeTask(const ProbeJob& job) {
    const std::optional<std::int64_t> size = SizeFromHeader(probes_->FetchHeader(job.link));
    // A fetch cut short by the shutdown says nothing about the file.
    if (!stopping_.load()) {
        model_.ReportProbe(job, size);
    }
    {
        std::lock_guard lock(mutex_);
        --running_;
    }
    wake_.notify_all();
}

void ProbePacer::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    pacer_.Stop();
    probes_->Stop();
}

}  // namespace korvana
