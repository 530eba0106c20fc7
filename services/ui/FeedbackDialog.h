#pragma once

#include <QDialog>

#include <string>

#include "util/StopSignal.h"
#include "util/TaskPool.h"
#include "web/HttpOptions.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korvana {

class Prompter;

// The feedback form (dialog 162): an optional e-mail address, a message,
// Send and Cancel. Send refuses an empty message; otherwise it sends both
// texts to the vendor's form-mail script on a worker thread while the dialog
// stays responsive, with Send, Cancel and the edits locked until the answer
// is back. Success is reported and closes the dialog as accepted; failure is
// reported and leaves the dialog open with both texts, to try again.
class FeedbackDialog final : public QDialog {
    Q_OBJECT
  public:
    // `prompter` must outlive the dialog. `vendorUrl` is the vendor's base
    // URL (ReadVendorUrl); `options` limit the request.
    FeedbackDialog(Prompter& prompter, std::string vendorUrl, QWidget* parent = nullptr,
                   const HttpOptions& options = {});
    // Ends a send under way at once; its result is dropped.
    ~FeedbackDialog() override;

    bool Sending() const { return sending_; }

  public slots:
    // Cancel, Escape and the close box: ignored while a send is under way.
    void reject() override;

  private:
    void Send();
    void FinishSend(bool sent);
    void Lock(bool locked);

    Prompter& prompter_;
    const std::string vendorUrl_;
    HttpOptions options_;
    QLineEdit* senderName_;
    QPlainTextEdit* feedback_;
    QPushButton* send_;
    QPushButton* cancel_;
    bool sending_ = false;
    StopSignal stop_;
    TaskPool worker_{1};
};

}  // namespace korvana
