#include "services/ui/UpdateQuestion.h"

namespace korvana {

UpdateQuestion::UpdateQuestion(Prompter& prompter, DesktopOpener& opener, QObject* parent)
    : QObject(parent), prompter_(prompter), opener_(opener) {}

void UpdateQuestion::NewerVersionAvailable(const UpdateNews& news) {
    ++posted_;
    QMetaObject::invokeMethod(
        this,
        [this, news] {
            Ask(news);
            --posted_;
        },
        Qt::QueuedConnection);
}

void UpdateQuestion::Ask(const UpdateNews& news) {
    if (asking_ || withdrawn_) {
        return;
    }
    // The question box runs its own event loop: a second piece of news that
    // arrives meanwhile must not open a second box.
    asking_ = true;
    const bool accepted = OfferUpdate(news, prompter_, opener_);
    asking_ = false;
    if (accepted) {
        withdrawn_ = true;
    }
}

}  // namespace korvana
