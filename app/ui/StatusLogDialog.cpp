#include "app/ui/StatusLogDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

#include "core/StatusLog.h"

namespace korvana {

namespace {
// Enough history to follow a reconnection, without growing for ever.
constexpr int kMaxLines = 5000;
}  // namespace

StatusLogDialog::StatusLogDialog(QWidget* parent) : QDialog(parent), lines_(new QListWidget(this)) {
    setObjectName(QStringLiteral("IDD_STATUS_LOG"));
    setWindowTitle(QStringLiteral("Debug Status Messages"));
    lines_->setObjectName(QStringLiteral("IDC_STATUS_LINES"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    layout->addWidget(buttons);
    resize(560, 420);
}

void StatusLogDialog::Watch(StatusLog& log) {
    QPointer<StatusLogDialog> self(this);
    log.AttachViewer([self](const std::string& line) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        QMetaObject::invokeMethod(
            qApp,
            [self, text] {
                if (self) {
                    self->AddLine(text);
                }
            },
            Qt::QueuedConnection);
    });
}

int StatusLogDialog::LineCount() const {
    return lines_->count();
}

void StatusLogDialog::AddLine(const QString& line) {
    lines_->addItem(line);
    if (lines_->count() > kMaxLines) {
        delete lines_->takeItem(0);
    }
    lines_->scrollToBottom();
}

}  // namespace korvana
