#include "search/CoreCommands.h"

#include "core/CoreLink.h"
#include "core/CoreLogin.h"

namespace korvana {

void CoreLinkCommands::SendSearchQuery(std::int32_t searchId, const SearchTerms& terms) {
    link_.SendSearchQuery(searchId, terms);
}

void CoreLinkCommands::SendCloseQuery(std::int32_t searchId) {
    link_.SendCloseQuery(searchId);
}

void CoreLinkCommands::SendDownloadRequest(std::string_view fileName, std::int32_t resultId) {
    link_.SendDownloadRequest(fileName, resultId);
}

bool CoreLinkCommands::IsConnected() const {
    return link_.IsLoggedIn();
}

std::string CoreLinkCommands::ConnectionProblem() const {
    return link_.LoginRefused() ? kCoreRefusedPasswordText : std::string();
}

}  // namespace korvana
