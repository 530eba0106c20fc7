#include "app/ui/KeptDownloadPrompt.h"

#include "platform/Prompter.h"

namespace korvana {

void KeptDownloadPrompt::Notify(const KeptDownload& kept) {
    QMetaObject::invokeMethod(
        this, [this, kept] { Ask(kept); }, Qt::QueuedConnection);
}

void KeptDownloadPrompt::Ask(const KeptDownload& kept) {
    if (prompter_.AskYesNo(KeptDownloadText(kept), "Download Kept")) {
        downloads_.RetryKeptMove(kept);
    }
}

}  // namespace korvana
