#include "core/OutboundQueue.h"

#include <utility>

namespace korvana {

bool OutboundQueue::Push(Frame frame) {
    return PushEntry({std::move(frame), false});
}

bool OutboundQueue::PushFinal(Frame frame) {
    return PushEntry({std::move(frame), true});
}

bool OutboundQueue::PushEntry(Entry entry) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        return false;
    }
    closed_ = entry.final;
    queued_.push_back(std::move(entry));
    return true;
}

bool OutboundQueue::Closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void OutboundQueue::StartSession(std::vector<Frame> logInFrames) {
    std::lock_guard lock(mutex_);
    logIn_.assign(std::make_move_iterator(logInFrames.begin()),
                  std::make_move_iterator(logInFrames.end()));
    inSession_ = true;
}

void OutboundQueue::EndSession() {
    std::lock_guard lock(mutex_);
    inSession_ = false;
    logIn_.clear();
    // A user's frame cut off by the break goes out again whole, first after
    // the next log-in; a log-in frame is made anew by the next log-in.
    if (current_ && !current_->logIn) {
        queued_.push_front(std::move(current_->entry));
    }
    current_.reset();
}

bool OutboundQueue::TakeNext() {
    if (!logIn_.empty()) {
        current_ = Current{{std::move(logIn_.front()), false}, true, 0};
        logIn_.pop_front();
        return true;
    }
    if (!queued_.empty()) {
        current_ = Current{std::move(queued_.front()), false, 0};
        queued_.pop_front();
        return true;
    }
    return false;
}

std::span<const std::uint8_t> OutboundQueue::Pending() {
    std::lock_guard lock(mutex_);
    if (!inSession_ || (!current_ && !TakeNext())) {
        return {};
    }
    return std::span<const std::uint8_t>(current_->entry.bytes).subspan(current_->written);
}

std::size_t OutboundQueue::WrittenOfCurrent() const {
    std::lock_guard lock(mutex_);
    return current_ ? current_->written : 0;
}

void OutboundQueue::Advance(std::size_t n) {
    std::lock_guard lock(mutex_);
    if (!current_) {
        return;
    }
    current_->written += n;
    if (current_->written >= current_->entry.bytes.size()) {
        finalWritten_ = finalWritten_ || current_->entry.final;
        current_.reset();
    }
}

bool OutboundQueue::FinalWritten() const {
    std::lock_guard lock(mutex_);
    return finalWritten_;
}

}  // namespace korvana
