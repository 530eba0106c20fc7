#pragma once

#include <string>

namespace korvana {

// What Download Selected needs from the transfer list.
class DownloadStarter {
  public:
    virtual ~DownloadStarter() = default;
    // True when the list already holds this download: for a web result,
    // a download whose key equals the result's link; for a core result, a
    // download whose name equals the result's file name (letter case aside
    // in both). Called on the GUI thread.
    virtual bool HasTransfer(const std::string& linkOrName, bool isWeb) const = 0;
    // Starts downloading a web result's link into a file of that name and
    // returns at once.
    virtual void StartWebDownload(const std::string& link, const std::string& fileName) = 0;
};

}  // namespace korvana
