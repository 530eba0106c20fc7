#include "platform/qt/QtDesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include <filesystem>

#include "platform/Prompter.h"

namespace korvana {

QtDesktopOpener::QtDesktopOpener(Prompter& prompter, Launcher launch)
    : prompter_(prompter), launch_(std::move(launch)) {
    if (!launch_) {
        launch_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    }
}

void QtDesktopOpener::OpenPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        prompter_.Inform("Could not open " + path + "\n\nIt does not exist (any more).",
                         kOpenFailedCaption);
        return;
    }
    const char* kind = std::filesystem::is_directory(status) ? "folder" : "file";
    if (!launch_(QUrl::fromLocalFile(QString::fromStdString(path)))) {
        prompter_.Inform(std::string("Could not open the ") + kind + " " + path +
                             "\n\nNo program of this desktop would open it.",
                         kOpenFailedCaption);
    }
}

void QtDesktopOpener::OpenUrl(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    if (!address.isValid() || !launch_(address)) {
        prompter_.Inform("Could not open the web page " + url +
                             "\n\nNo web browser could be started. You can copy the address "
                             "into a browser yourself.",
                         kOpenFailedCaption);
    }
}

}  // namespace korvana
