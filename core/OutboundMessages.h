#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/GuiMessage.h"

namespace korvana {

// The protocol version the front end announces at log-in.
inline constexpr std::uint32_t kGuiProtocolVersion = 30;

// What the user typed into the search fields; empty fields are left out of
// the query and the others go out exactly as typed.
struct SearchTerms {
    std::string keywords;
    std::string minSize;
    std::string maxSize;
    std::string bitrate;
    std::string artist;
    std::string title;
    std::string album;
};

// Builders for every message the front end sends to the core. Each returns
// a finished message; GuiMessage::ToFrame gives its bytes.
GuiMessage BuildProtocolVersion();
GuiMessage BuildExtensionList();
GuiMessage BuildPassword(std::string_view password, std::string_view user);
GuiMessage BuildSetOption(std::string_view name, std::string_view value);
GuiMessage BuildOptionList(std::string_view name, std::string_view value);
GuiMessage BuildAskDownloadingFiles();
GuiMessage BuildAskUploadStats();
GuiMessage BuildSearchQuery(std::int32_t searchId, const SearchTerms& terms);
GuiMessage BuildCloseQuery(std::int32_t searchId);
GuiMessage BuildDownloadRequest(std::string_view fileName, std::int32_t resultId);
GuiMessage BuildCancelDownload(std::int32_t fileNumber);
GuiMessage BuildSwitchDownload(std::int32_t fileNumber, bool resume);
GuiMessage BuildConsoleCommand(std::string_view commandLine);
GuiMessage BuildShutdown();

}  // namespace korvana
