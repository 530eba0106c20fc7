#include "core/StatusLog.h"

#include <system_error>

#include "core/DisplayText.h"

namespace korvana {

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
    const std::string line = DisplayText(text);  // a name inside cannot split or spoof the line
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        RotateIfFull();
        file_ << line << '\n';
        file_.flush();
        written_ += line.size() + 1;
    }
    for (const Viewer& viewer : viewers_) {
        viewer(line);
    }
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
