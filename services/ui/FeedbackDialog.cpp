#include "services/ui/FeedbackDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Prompter.h"
#include "services/Feedback.h"

namespace korvana {
namespace {

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in the e-mail box must not send or close the form.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

FeedbackDialog::FeedbackDialog(Prompter& prompter, std::string vendorUrl, QWidget* parent,
                               const HttpOptions& options)
    : QDialog(parent),
      prompter_(prompter),
      vendorUrl_(std::move(vendorUrl)),
      options_(options),
      senderName_(new QLineEdit(this)),
      feedback_(new QPlainTextEdit(this)),
      send_(MakeButton("Send", "IDC_FEEDBACK_SEND", this)),
      cancel_(MakeButton("Cancel", "IDCANCEL", this)) {
    options_.stop = &stop_;
    setObjectName(QStringLiteral("IDD_FEEDBACK"));
    setWindowTitle(QStringLiteral("Send Us Feedback"));
    setModal(true);

    senderName_->setObjectName(QStringLiteral("IDC_FEEDBACK_EMAIL"));
    feedback_->setObjectName(QStringLiteral("IDC_FEEDBACK_MESSAGE"));
    feedback_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    feedback_->setTabChangesFocus(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Your Email:\n  (Optional)"), this), 0, 0);
    grid->addWidget(senderName_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Feedback Message"), this), 1, 0, Qt::AlignTop);
    grid->addWidget(feedback_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 2, 0, 1, 2);
    resize(420, 260);

    connect(send_, &QPushButton::clicked, this, &FeedbackDialog::Send);
    connect(cancel_, &QPushButton::clicked, this, &FeedbackDialog::reject);
}

FeedbackDialog::~FeedbackDialog() {
    stop_.Trigger();
    worker_.WaitUntilIdle();
}

void FeedbackDialog::reject() {
    if (!sending_) {
        QDialog::reject();
    }
}

void FeedbackDialog::Send() {
    if (sending_) {
        return;
    }
    const std::string senderName = senderName_->text().toStdString();
    const std::string feedback = feedback_->toPlainText().toStdString();
    if (!IsSendableFeedback(feedback)) {
        prompter_.Inform(kFeedbackEmptyText, kFeedbackEmptyCaption);
        return;
    }
    Lock(true);
    worker_.PostIfIdle([this, senderName, feedback] {
        const bool sent = SendFeedback(vendorUrl_, senderName, feedback, options_);
        QMetaObject::invokeMethod(
            this, [this, sent] { FinishSend(sent); }, Qt::QueuedConnection);
    });
}

void FeedbackDialog::FinishSend(bool sent) {
    worker_.WaitUntilIdle();
    Lock(false);
    if (sent) {
        prompter_.Inform(kFeedbackSentText, kFeedbackSentCaption);
        accept();
    } else {
        prompter_.Inform(kFeedbackFailedText, kFeedbackFailedCaption);
    }
}

void FeedbackDialog::Lock(bool locked) {
    sending_ = locked;
    send_->setEnabled(!locked);
    cancel_->setEnabled(!locked);
    senderName_->setReadOnly(locked);
    feedback_->setReadOnly(locked);
}

}  // namespace korvana
