#include "app/ui/StatusLogDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QListView>
#include <QPointer>
#include <QVBoxLayout>

#include "app/ui/StatusLogModel.h"
#include "core/StatusLog.h"

namespace korvana {

StatusLogDialog::StatusLogDialog(QWidget* parent)
    : QDialog(parent),
      model_(new StatusLogModel(StatusLog::kKeptLines, this)),
      view_(new QListView(this)) {
    setObjectName(QStringLiteral("IDD_STATUS_LOG"));
    setWindowTitle(QStringLiteral("Debug Status Messages"));
    view_->setObjectName(QStringLiteral("IDC_STATUS_LINES"));
    // Every row one line high: the view need not measure thousands of rows.
    view_->setUniformItemSizes(true);
    view_->setModel(model_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    resize(560, 420);
    batch_.setSingleShot(true);
    batch_.setInterval(kBatchIntervalMs);
    connect(&batch_, &QTimer::timeout, this, &StatusLogDialog::TakeNewLines);
}

StatusLogDialog::~StatusLogDialog() {
    if (log_ != nullptr) {
        log_->DisarmWake();
        log_->SetWake(nullptr);
    }
}

void StatusLogDialog::Watch(StatusLog& log) {
    log_ = &log;
    QPointer<StatusLogDialog> self(this);
    // Called on whichever thread wrote the line; the check of `self` runs
    // on the GUI thread.
    log.SetWake([self] {
        QMetaObject::invokeMethod(
            qApp,
            [self] {
                if (self && self->isVisible() && !self->batch_.isActive()) {
                    self->batch_.start();
                }
            },
            Qt::QueuedConnection);
    });
    if (isVisible()) {
        TakeNewLines();
    }
}

int StatusLogDialog::LineCount() const {
    return model_->rowCount();
}

void StatusLogDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    TakeNewLines();
}

void StatusLogDialog::hideEvent(QHideEvent* event) {
    if (log_ != nullptr) {
        log_->DisarmWake();
    }
    batch_.stop();
    QDialog::hideEvent(event);
}

// Armed before copying: a line written during the copy wakes us again
// rather than waiting unseen for the next one.
void StatusLogDialog::TakeNewLines() {
    if (log_ == nullptr) {
        return;
    }
    log_->ArmWake();
    std::vector<std::string> lines;
    const std::uint64_t first = log_->CopySince(next_, lines);
    if (first != next_) {
        model_->Replace(lines);
    } else {
        model_->Append(lines);
    }
    next_ = first + lines.size();
    if (!lines.empty()) {
        view_->scrollToBottom();
    }
}

}  // namespace korvana
