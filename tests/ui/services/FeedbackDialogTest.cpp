#include "services/ui/FeedbackDialog.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

#include "tests/services/ServicesFakes.h"
#include "tests/ui/UiWait.h"
#include "tools/sim/web/SimWebCatalogue.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

class FeedbackDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        HttpOptions options;
        options.idleTimeout = 2000ms;
        dialog_ = std::make_unique<FeedbackDialog>(prompter_, server_.BaseUrl(), nullptr, options);
        dialog_->show();
        sender_ = dialog_->findChild<QLineEdit*>("IDC_FEEDBACK_EMAIL");
        message_ = dialog_->findChild<QPlainTextEdit*>("IDC_FEEDBACK_MESSAGE");
        send_ = dialog_->findChild<QPushButton*>("IDC_FEEDBACK_SEND");
        cancel_ = dialog_->findChild<QPushButton*>("IDCANCEL");
        ASSERT_TRUE(sender_ && message_ && send_ && cancel_);
    }
    void Type(const QString& sender, const QString& message) {
        sender_->setText(sender);
        message_->setPlainText(message);
    }
    void SendAndWait() {
        send_->click();
        ASSERT_TRUE(test::WaitUntil([&] { return !prompter_.Boxes().empty(); }));
    }

    sim::SimWebServer server_;
    test::vendor::RecordingPrompter prompter_;
    std::unique_ptr<FeedbackDialog> dialog_;
    QLineEdit* sender_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

TEST_F(FeedbackDialogTest, OpensEmptyWithItsControls) {
    EXPECT_EQ(dialog_->objectName(), "IDD_FEEDBACK");
    EXPECT_EQ(dialog_->windowTitle(), "Send Us Feedback");
    EXPECT_TRUE(sender_->text().isEmpty());
    EXPECT_TRUE(message_->toPlainText().isEmpty());
    EXPECT_EQ(send_->text(), "Send");
    EXPECT_EQ(cancel_->text(), "Cancel");
    QStringList labels;
    for (const QLabel* label : dialog_->findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains("Your Email:\n  (Optional)"));
    EXPECT_TRUE(labels.contains("Feedback Message"));
}

TEST_F(FeedbackDialogTest, EmptyMessageIsRefusedWithoutARequest) {
    Type("me@example.org", "");
    send_->click();
    const auto boxes = prompter_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Need a message to send.");
    EXPECT_EQ(boxes[0].caption, "No message");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(send_->isEnabled());
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(FeedbackDialogTest, SuccessDeliversTheTypedTextsAndCloses) {
    const QString message = QString::fromUtf8("Hello & welcome = yes #1\nline two: 50% \xC3\xBC");
    Type("", message);
    SendAndWait();
    const auto boxes = prompter_.Boxes();
    EXPECT_EQ(boxes[0].text, "    Successfully sent feedback.\n       Thank you very much");
    EXPECT_EQ(boxes[0].caption, "Thanks for your feedback");
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string query = requests[0].target.substr(requests[0].target.find('?') + 1);
    EXPECT_EQ(sim::QueryValue(query, "sender_name"), "");
    EXPECT_EQ(sim::QueryValue(query, "feedback"), message.toStdString());
}

TEST_F(FeedbackDialogTest, FailureKeepsTheDialogAndTheTexts) {
    server_.Router().SetPage("/cgi-bin/cgiemail/feedback.txt", "Internal Server Error", 500);
    Type("me@example.org", "   ");
    SendAndWait();
    const auto boxes = prompter_.Boxes();
    EXPECT_EQ(boxes[0].text, "Unable to contact internet");
    EXPECT_EQ(boxes[0].caption, "Feedback send error");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(sender_->text(), "me@example.org");
    EXPECT_EQ(message_->toPlainText(), "   ");
    EXPECT_TRUE(send_->isEnabled());
    EXPECT_TRUE(cancel_->isEnabled());
    EXPECT_FALSE(message_->isReadOnly());
}

TEST_F(FeedbackDialogTest, SendCannotBePressedTwiceNorCancelledWhileRunning) {
    sim::SimWebFaults slow;
    slow.answerDelay = 400ms;
    server_.SetFaults(slow);
    Type("", "once only");
    send_->click();
    EXPECT_TRUE(dialog_->Sending());
    EXPECT_FALSE(send_->isEnabled());
    EXPECT_FALSE(cancel_->isEnabled());
    send_->click();
    dialog_->reject();
    EXPECT_TRUE(dialog_->isVisible());
    ASSERT_TRUE(test::WaitUntil([&] { return !prompter_.Boxes().empty(); }));
    EXPECT_EQ(prompter_.Boxes().size(), 1u);
    EXPECT_EQ(server_.Requests().size(), 1u);
    EXPECT_FALSE(dialog_->isVisible());
}

}  // namespace
}  // namespace korvana
