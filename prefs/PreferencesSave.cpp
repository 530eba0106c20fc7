#include "prefs/PreferencesSave.h"

#include <algorithm>

#include "platform/Prompter.h"
#include "prefs/CoreOptionsPort.h"

namespace korvana {

std::optional<SharingSaveReport> SavePreferences(CoreOptionsPort& core, Prompter& prompter,
                                                 const GeneralFields& general,
                                                 const NetworkFields& networks,
                                                 SharingPrefs& sharing, const FolderMover& mover) {
    if (const std::vector<std::string> invalid = InvalidFields(general, networks);
        !invalid.empty()) {
        prompter.Inform(InvalidFieldsMessage(invalid), kInvalidFieldsCaption);
        return std::nullopt;
    }
    SendOptionCommands(core, GeneralSaveCommands(general));
    SendOptionCommands(core, NetworkSaveCommands(networks));
    SharingSaveReport report = sharing.Save(core, mover);
    core.SendConsoleCommand("save");
    if (const std::string text = LeftBehindMessage(report.move, report.movedFrom); !text.empty()) {
        prompter.Inform(text, kLeftBehindCaption);
    }
    if (const std::string text = NotSentMessage(report.notSent); !text.empty()) {
        prompter.Inform(text, kNotSentCaption);
    }
    return report;
}

std::string NotSentMessage(const std::vector<std::string>& folders) {
    if (folders.empty()) {
        return {};
    }
    std::string text =
        "These folders could not be passed to the P2P core, because their names hold both "
        "kinds of quotation marks, a line break or a zero byte, or end in a backslash:";
    std::vector<std::string> named;
    for (const std::string& folder : folders) {
        if (std::find(named.begin(), named.end(), folder) == named.end()) {
            named.push_back(folder);
            text += "\n" + folder;
        }
    }
    return text;
}

}  // namespace korvana
