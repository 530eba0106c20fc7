#pragma once

#include <QWidget>

#include <optional>

#include "app/CoreConfig.h"
#include "util/TaskPool.h"
#include "util/WakeSignal.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvana {

class DialogUnits;

// The "Core" page: where the core listens, the user name and password it
// asks for, and whether it is ours to start and stop. A host other than
// this computer always means a core that is not ours. "Test connection"
// tries a log-in with the boxes as typed, on a thread of its own, and says
// what came of it; the dialog's Save stores the boxes (see Typed).
class CorePrefsPage : public QWidget {
    Q_OBJECT
  public:
    CorePrefsPage(const CoreSettings& stored, const DialogUnits& units, QWidget* parent = nullptr);
    // Ends a test under way at once.
    ~CorePrefsPage() override;

    // The boxes as they stand; nothing when the port is not a usable number.
    std::optional<CoreSettings> Typed() const;

    void TestConnection();
    // From the click until its outcome is shown.
    bool TestRunning() const { return testing_; }
    QString TestResult() const;

  signals:
    void TestFinished();

  private:
    void BuildBoxes(const CoreSettings& stored, const DialogUnits& units);
    void ShowRemoteChoice();
    void FinishTest(CoreLoginOutcome outcome, const CoreSettings& tested);

    bool remoteChosen_;
    QLineEdit* host_;
    QLineEdit* port_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* remote_;
    QPushButton* test_;
    QLabel* result_;
    WakeSignal cancel_;
    bool testing_ = false;
    TaskPool tester_{1};
};

}  // namespace korvana
