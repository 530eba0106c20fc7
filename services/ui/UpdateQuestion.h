#pragma once

#include <QObject>

#include <functional>

#include "services/UpdateOffer.h"

namespace korvana {

class DesktopOpener;
class Prompter;

// Brings the update check's news to the GUI thread and asks the user there
// (OfferUpdate): the check's thread only posts and returns. One question at
// a time; news that arrives after Withdraw() is dropped.
class UpdateQuestion final : public QObject, public UpdateListener {
    Q_OBJECT
  public:
    // `prompter` and `opener` must outlive this object; `closeProgram` starts
    // the main window's close sequence. Lives on the GUI thread.
    UpdateQuestion(Prompter& prompter, DesktopOpener& opener, std::function<void()> closeProgram,
                   QObject* parent = nullptr);

    // Any thread.
    void NewerVersionAvailable(const UpdateNews& news) override;

    // For the close sequence: a question still on its way is not shown.
    void Withdraw() { withdrawn_ = true; }

  private:
    void Ask(const UpdateNews& news);

    Prompter& prompter_;
    DesktopOpener& opener_;
    std::function<void()> closeProgram_;
    bool asking_ = false;
    bool withdrawn_ = false;
};

}  // namespace korvana
