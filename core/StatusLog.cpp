#include "core/StatusLog.h"

#include <algorithm>
#include <system_error>

namespace korvana {

StatusLog::StatusLog(std::size_t keptLines) : keptLines_(std::max<std::size_t>(1, keptLines)) {}

bool StatusLog::OpenFile(const std::filesystem::path& path, std::size_t maxBytes) {
    std::lock_guard lock(mutex_);
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    file_.open(path, std::ios::app | std::ios::binary);
    path_ = path;
    maxBytes_ = maxBytes;
    const auto size = std::filesystem::file_size(path, ec);
    written_ = ec ? 0 : static_cast<std::size_t>(size);
    return file_.is_open();
}

void StatusLog::AttachViewer(Viewer viewer) {
    std::lock_guard lock(mutex_);
    viewers_.push_back(std::move(viewer));
}

void StatusLog::Line(std::string_view text) {
    {
        std::lock_guard lock(mutex_);
        if (file_.is_open()) {
            RotateIfFull();
            file_ << text << '\n';
            file_.flush();
            written_ += text.size() + 1;
        }
        Keep(text);
        if (!viewers_.empty()) {
            const std::string line(text);
            for (const Viewer& viewer : viewers_) {
                viewer(line);
            }
        }
    }
    if (armed_.load(std::memory_order_relaxed) && armed_.exchange(false)) {
        std::function<void()> wake;
        {
            std::lock_guard lock(mutex_);
            wake = wake_;
        }
        if (wake) {
            wake();
        }
    }
}

// The slot of the oldest line is reused, so the ring's strings keep their
// storage once it is full.
void StatusLog::Keep(std::string_view text) {
    const std::size_t slot = static_cast<std::size_t>(lines_ % keptLines_);
    if (slot == ring_.size()) {
        ring_.emplace_back(text);
    } else {
        ring_[slot].assign(text);
    }
    ++lines_;
}

std::uint64_t StatusLog::LinesWritten() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::uint64_t StatusLog::CopySince(std::uint64_t from, std::vector<std::string>& out) const {
    std::lock_guard lock(mutex_);
    const std::uint64_t oldest = lines_ - ring_.size();
    const std::uint64_t first = std::clamp(from, oldest, lines_);
    out.reserve(out.size() + static_cast<std::size_t>(lines_ - first));
    for (std::uint64_t n = first; n < lines_; ++n) {
        out.push_back(ring_[static_cast<std::size_t>(n % keptLines_)]);
    }
    return first;
}

void StatusLog::SetWake(std::function<void()> wake) {
    std::lock_guard lock(mutex_);
    wake_ = std::move(wake);
}

void StatusLog::ArmWake() {
    armed_ = true;
}

void StatusLog::DisarmWake() {
    armed_ = false;
}

void StatusLog::RotateIfFull() {
    if (written_ < maxBytes_) {
        return;
    }
    file_.close();
    std::error_code ec;
    std::filesystem::rename(path_, path_.string() + ".1", ec);
    file_.open(path_, std::ios::trunc | std::ios::binary);
    written_ = 0;
}

}  // namespace korvana
