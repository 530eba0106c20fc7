#pragma once

#include <QObject>

#include "web/download/WebDownloads.h"

namespace korvana {

class Prompter;

// Tells the user about a finished web download that the downloads folder did
// not take, where it is kept and why, and offers to move it again. Notify
// may be called from any thread; the question is asked on the GUI thread.
class KeptDownloadPrompt final : public QObject {
    Q_OBJECT
  public:
    KeptDownloadPrompt(Prompter& prompter, WebDownloads& downloads)
        : prompter_(prompter), downloads_(downloads) {}

    void Notify(const KeptDownload& kept);

  private:
    void Ask(const KeptDownload& kept);

    Prompter& prompter_;
    WebDownloads& downloads_;
};

}  // namespace korvana
