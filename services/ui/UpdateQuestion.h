#pragma once

#include <QObject>
#include <atomic>

#include "services/UpdateOffer.h"

namespace korvana {

class DesktopOpener;
class Prompter;

// Brings the update check's news to the GUI thread and asks the user there
// (OfferUpdate): the check's thread only posts and returns. One question at
// a time; once the user has said yes, and after Withdraw(), news is dropped.
class UpdateQuestion final : public QObject, public UpdateListener {
    Q_OBJECT
  public:
    // `prompter` and `opener` must outlive this object. Lives on the GUI
    // thread.
    UpdateQuestion(Prompter& prompter, DesktopOpener& opener, QObject* parent = nullptr);

    // Any thread.
    void NewerVersionAvailable(const UpdateNews& news) override;

    // For the close sequence: a question still on its way is not shown.
    void Withdraw() { withdrawn_ = true; }

    // True once every piece of news posted so far has been handled (asked,
    // or dropped) on the GUI thread.
    bool Idle() const { return posted_.load() == 0; }

  private:
    void Ask(const UpdateNews& news);

    Prompter& prompter_;
    DesktopOpener& opener_;
    bool asking_ = false;
    bool withdrawn_ = false;
    std::atomic<int> posted_{0};
};

}  // namespace korvana
