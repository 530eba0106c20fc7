#include "prefs/ui/CorePrefsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/CoreLogin.h"
#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

// Placement in dialog units inside the page.
constexpr DialogControl kCoreGroup{kNoControlId, "Core", 14, 10, 322, 122};
constexpr int kFirstRowY = 26;
constexpr int kRowStep = 19;
constexpr int kLabelX = 24;
constexpr int kLabelWidth = 60;
constexpr int kEditX = 88;
constexpr int kEditHeight = 14;
constexpr int kTextOffset = 3;
constexpr int kTextHeight = 8;
constexpr int kRemoteY = 104;
constexpr DialogControl kTestButton{kNoControlId, "&Test connection", 14, 140, 70, 16};
constexpr int kResultX = 90;
constexpr int kResultWidth = 246;
constexpr int kResultHeight = 30;
constexpr int kNoteY = 180;

constexpr std::string_view kRemoteText = "Not ours: never start, restart or stop this core";
constexpr std::string_view kNoteText =
    "Host, port and the choice above take effect when Korvana MP3 Finder starts again; the user "
    "name and password at the next log-in.";

QLineEdit* AddRow(QWidget& page, const DialogUnits& units, int row, std::string_view label,
                  const char* name, int width) {
    const int y = kFirstRowY + row * kRowStep;
    AddLabel(page, label, units.Rect(kLabelX, y + kTextOffset, kLabelWidth, kTextHeight),
             Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(&page);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(units.Rect(kEditX, y, width, kEditHeight));
    return edit;
}

}  // namespace

CorePrefsPage::CorePrefsPage(const CoreSettings& stored, const DialogUnits& units, QWidget* parent)
    : QWidget(parent), remoteChosen_(stored.remoteChosen) {
    setObjectName(QStringLiteral("IDD_PREFS_CORE"));
    BuildBoxes(stored, units);
    test_ = new QPushButton(FixedText(kTestButton.text), this);
    test_->setObjectName(QStringLiteral("IDC_CORE_TEST"));
    units.Place(*test_, kTestButton);
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("IDC_CORE_TEST_RESULT"));
    result_->setWordWrap(true);
    result_->setGeometry(units.Rect(kResultX, kTestButton.y, kResultWidth, kResultHeight));
    // Wrapped within the page: a plain label, since AddLabel widens a label
    // to hold its text on one line.
    auto* note = new QLabel(FixedText(kNoteText), this);
    note->setGeometry(units.Rect(kCoreGroup.x, kNoteY, kCoreGroup.width, 24));
    note->setWordWrap(true);
    note->setEnabled(false);
    ShowRemoteChoice();
    connect(host_, &QLineEdit::textChanged, this, &CorePrefsPage::ShowRemoteChoice);
    connect(remote_, &QCheckBox::toggled, this, [this](bool checked) {
        if (remote_->isEnabled()) {
            remoteChosen_ = checked;
        }
    });
    connect(test_, &QPushButton::clicked, this, &CorePrefsPage::TestConnection);
    setFocusProxy(host_);
}

void CorePrefsPage::BuildBoxes(const CoreSettings& stored, const DialogUnits& units) {
    auto* group = new QGroupBox(FixedText(kCoreGroup.text), this);
    units.Place(*group, kCoreGroup);
    host_ = AddRow(*this, units, 0, "Host:", "IDC_CORE_HOST", 160);
    port_ = AddRow(*this, units, 1, "Port:", "IDC_CORE_PORT", 44);
    user_ = AddRow(*this, units, 2, "User:", "IDC_CORE_USER", 100);
    password_ = AddRow(*this, units, 3, "Password:", "IDC_CORE_PASSWORD", 100);
    password_->setEchoMode(QLineEdit::Password);
    host_->setText(ShownText(stored.host));
    port_->setText(QString::number(stored.port));
    AcceptDigitsOnly(*port_);
    user_->setText(ShownText(stored.credentials.user));
    password_->setText(ShownText(stored.credentials.password));
    remote_ = new QCheckBox(FixedText(kRemoteText), this);
    remote_->setObjectName(QStringLiteral("IDC_CORE_REMOTE"));
    remote_->setGeometry(units.Rect(kEditX, kRemoteY, 240, 12));
}

CorePrefsPage::~CorePrefsPage() {
    cancel_.Notify();
    tester_.Stop();
}

// A core on another computer is never ours: the box shows it ticked and
// cannot be changed; the user's own choice comes back with a local host.
void CorePrefsPage::ShowRemoteChoice() {
    const bool local = IsLocalHost(TypedBytes(host_->text(), {}));
    remote_->setEnabled(local);
    const QSignalBlocker quiet(remote_);
    remote_->setChecked(remoteChosen_ || !local);
}

std::optional<CoreSettings> CorePrefsPage::Typed() const {
    const std::optional<std::uint16_t> port = ParseCorePort(port_->text().toStdString());
    if (!port) {
        return std::nullopt;
    }
    CoreSettings typed;
    const std::string host = host_->text().trimmed().toStdString();
    typed.host = host.empty() ? typed.host : host;
    typed.port = *port;
    const std::string user = user_->text().trimmed().toStdString();
    typed.credentials.user = user.empty() ? typed.credentials.user : user;
    typed.credentials.password = password_->text().toStdString();
    typed.remoteChosen = remoteChosen_;
    return typed;
}

QString CorePrefsPage::TestResult() const {
    return result_->text();
}

void CorePrefsPage::TestConnection() {
    if (TestRunning()) {
        return;
    }
    const std::optional<CoreSettings> typed = Typed();
    if (!typed) {
        result_->setText(FixedText(kCorePortInvalidText));
        emit TestFinished();
        return;
    }
    test_->setEnabled(false);
    result_->setText(QStringLiteral("Testing..."));
    cancel_.Drain();
    testing_ = true;
    CoreLoginTarget target{typed->host, typed->port, typed->credentials};
    tester_.Post([this, target, tested = *typed] {
        const CoreLoginOutcome outcome = ProbeCoreLogin(target, cancel_.Fd());
        QMetaObject::invokeMethod(
            this, [this, outcome, tested] { FinishTest(outcome, tested); }, Qt::QueuedConnection);
    });
}

void CorePrefsPage::FinishTest(CoreLoginOutcome outcome, const CoreSettings& tested) {
    testing_ = false;
    test_->setEnabled(true);
    result_->setText(QString::fromStdString(LoginOutcomeText(outcome, tested.host, tested.port)));
    emit TestFinished();
}

}  // namespace korvana
