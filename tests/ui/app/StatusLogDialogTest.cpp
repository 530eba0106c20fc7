#include <gtest/gtest.h>
#include <QListView>
#include <QSignalSpy>

#include <string>
#include <thread>

#include "app/ui/StatusLogDialog.h"
#include "app/ui/StatusLogModel.h"
#include "core/StatusLog.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

QString Row(const StatusLogDialog& dialog, int row) {
    const StatusLogModel& model = dialog.Model();
    return model.data(model.index(row, 0)).toString();
}

// Counts every change the list view would lay itself out for.
struct ModelChanges {
    explicit ModelChanges(const StatusLogModel& model)
        : inserted(&model, &QAbstractItemModel::rowsInserted),
          removed(&model, &QAbstractItemModel::rowsRemoved),
          reset(&model, &QAbstractItemModel::modelReset) {}
    int Count() const {
        return static_cast<int>(inserted.count() + removed.count() + reset.count());
    }
    QSignalSpy inserted;
    QSignalSpy removed;
    QSignalSpy reset;
};

TEST(StatusLogDialog, ShowsLinesFromAnyThreadInOrder) {
    StatusLog log;
    StatusLogDialog dialog;
    dialog.Watch(log);
    dialog.show();
    log.Line("Connecting");
    std::thread([&log] { log.Line("Connected to server."); }).join();
    EXPECT_TRUE(test::WaitUntil([&] { return dialog.LineCount() == 2; }));
    EXPECT_EQ(Row(dialog, 0), QStringLiteral("Connecting"));
    EXPECT_EQ(Row(dialog, 1), QStringLiteral("Connected to server."));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Debug Status Messages"));
    EXPECT_NE(dialog.findChild<QListView*>(QStringLiteral("IDC_STATUS_LINES")), nullptr);
}

TEST(StatusLogDialog, HiddenWindowDoesNoWorkAndShowsTheNewestLinesWhenOpened) {
    StatusLog log;
    StatusLogDialog dialog;
    dialog.Watch(log);
    ModelChanges changes(dialog.Model());
    const int total = static_cast<int>(StatusLog::kKeptLines) + 3000;
    for (int i = 0; i < total; ++i) {
        log.Line("line " + std::to_string(i));
    }
    QTest::qWait(2 * StatusLogDialog::kBatchIntervalMs);
    EXPECT_EQ(changes.Count(), 0);
    EXPECT_EQ(dialog.LineCount(), 0);

    dialog.show();
    EXPECT_EQ(changes.Count(), 1);
    ASSERT_EQ(dialog.LineCount(), static_cast<int>(StatusLog::kKeptLines));
    EXPECT_EQ(Row(dialog, 0), QStringLiteral("line 3000"));
    EXPECT_EQ(Row(dialog, dialog.LineCount() - 1),
              QString::fromStdString("line " + std::to_string(total - 1)));

    // Hidden again, it is left alone again.
    dialog.hide();
    log.Line("while hidden");
    QTest::qWait(2 * StatusLogDialog::kBatchIntervalMs);
    EXPECT_EQ(changes.Count(), 1);
}

TEST(StatusLogDialog, OpenWindowTakesABurstInFewBatchesAndKeepsItsBound) {
    StatusLog log;
    StatusLogDialog dialog;
    dialog.Watch(log);
    dialog.show();
    ModelChanges changes(dialog.Model());
    constexpr int total = static_cast<int>(StatusLog::kKeptLines) * 2;
    std::thread writer([&log] {
        for (int i = 0; i < total; ++i) {
            log.Line("line " + std::to_string(i));
        }
    });
    writer.join();
    const QString last = QString::fromStdString("line " + std::to_string(total - 1));
    ASSERT_TRUE(test::WaitUntil(
        [&] { return dialog.LineCount() > 0 && Row(dialog, dialog.LineCount() - 1) == last; }));
    EXPECT_EQ(dialog.LineCount(), static_cast<int>(StatusLog::kKeptLines));
    // One line each would be ten thousand insertions.
    EXPECT_LE(changes.Count(), 10);
}

}  // namespace
}  // namespace korvana
