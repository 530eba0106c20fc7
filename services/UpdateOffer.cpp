#include "services/UpdateOffer.h"

#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"

namespace korvana {

std::string UpdateCaption(const std::string& version) {
    return "Korvana - Version " + version + " Released!";
}

bool OfferUpdate(const UpdateNews& news, Prompter& prompter, DesktopOpener& opener) {
    if (!prompter.AskYesNo(kUpdateQuestionText, UpdateCaption(news.version))) {
        return false;
    }
    opener.OpenUrl(news.downloadPage);
    return true;
}

}  // namespace korvana
