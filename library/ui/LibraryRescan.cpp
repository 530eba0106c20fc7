#include "library/ui/LibraryRescan.h"

namespace korvana {

LibraryRescan::LibraryRescan(FolderSource folder, ScanResult apply, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), apply_(std::move(apply)) {}

LibraryRescan::~LibraryRescan() {
    pool_.WaitUntilIdle();
}

bool LibraryRescan::Start() {
    if (running_) {
        return false;
    }
    std::filesystem::path folder = folder_();
    if (!scanner_ || scanner_->Folder() != folder) {
        scanner_ = std::make_unique<LibraryScanner>(std::move(folder));
    }
    running_ = true;
    // The scanner is touched only by this task until its result is back:
    // no new scan starts while `running_` is set.
    LibraryScanner* scanner = scanner_.get();
    pool_.Post([this, scanner] {
        LibraryScan scan = scanner->Scan();
        QMetaObject::invokeMethod(
            this, [this, scan = std::move(scan)]() mutable { Finish(std::move(scan)); },
            Qt::QueuedConnection);
    });
    return true;
}

void LibraryRescan::Finish(LibraryScan scan) {
    running_ = false;
    if (scan.changed || !scan.resized.empty()) {
        apply_(std::move(scan));
    }
}

}  // namespace korvana
