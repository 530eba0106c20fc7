#include "prefs/ui/MoveWithProgress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <chrono>

#include "util/TaskPool.h"

namespace korvana {
namespace {

// A rename within one disk is over before anyone could read a dialog.
constexpr int kShowAfterMs = 500;
constexpr std::chrono::milliseconds kLabelInterval{100};

}  // namespace

void RunShowingProgress(QWidget* parent, const QString& title, const std::function<void()>& job,
                        const std::function<QString()>& label) {
    TaskPool worker(1);
    worker.Post(job);
    QProgressDialog progress(parent);
    progress.setWindowTitle(title);
    progress.setCancelButton(nullptr);
    progress.setRange(0, 0);
    progress.setMinimumDuration(kShowAfterMs);
    progress.setWindowModality(Qt::WindowModal);
    progress.setLabelText(label());
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!worker.Busy()) {
            loop.quit();
            return;
        }
        progress.setLabelText(label());
        // Shows the dialog once the job has run past kShowAfterMs.
        progress.setValue(0);
    });
    tick.start(kLabelInterval);
    if (worker.Busy()) {
        loop.exec();
    }
    // Also when the loop ended because the program is quitting: the files
    // must not be left half-copied.
    worker.WaitUntilIdle();
}

MoveReport MoveWithProgress(QWidget* parent, const std::filesystem::path& from,
                            const std::filesystem::path& to) {
    MoveReport report;
    std::atomic<long long> files{0};
    RunShowingProgress(
        parent, QStringLiteral("Moving Files"),
        [&] { report = MoveFolderContents(from, to, [&files] { ++files; }); },
        [&files] {
            return QStringLiteral("Moving your downloads to the new folder (%1 items so far)…")
                .arg(files.load());
        });
    return report;
}

}  // namespace korvana
