#include "core/OutboundMessages.h"

#include <array>
#include <utility>

#include "core/CoreOpcodes.h"

namespace korvana {
namespace {

// The core reads every query term as a labelled value; the label it expects
// from this front end is always the same.
constexpr std::string_view kTermLabel = "Comment";
constexpr std::uint32_t kMaxHits = 1000000;

void PutInt32(GuiMessage& message, std::int32_t value) {
    message.Put32(static_cast<std::uint32_t>(value));
}

void PutTerm(GuiMessage& message, std::uint8_t kind, std::string_view value) {
    message.Put8(kind);
    message.PutString(kTermLabel);
    message.PutString(value);
}

}  // namespace

GuiMessage BuildProtocolVersion() {
    GuiMessage message(to_core::kProtocolVersion);
    message.Put32(kGuiProtocolVersion);
    return message;
}

GuiMessage BuildExtensionList() {
    GuiMessage message(to_core::kExtensionList);
    message.Put16(1);
    message.Put32(0);
    message.Put8(0);
    return message;
}

GuiMessage BuildPassword(std::string_view password, std::string_view user) {
    GuiMessage message(to_core::kPassword);
    message.PutString(password);
    message.PutString(user);
    return message;
}

GuiMessage BuildSetOption(std::string_view name, std::string_view value) {
    GuiMessage message(to_core::kSetOption);
    message.PutString(name);
    message.PutString(value);
    return message;
}

GuiMessage BuildOptionList(std::string_view name, std::string_view value) {
    GuiMessage message(to_core::kOptionList);
    message.Put16(1);
    message.PutString(name);
    message.PutString(value);
    return message;
}

GuiMessage BuildAskDownloadingFiles() {
    return GuiMessage(to_core::kAskDownloadingFiles);
}

GuiMessage BuildAskUploadStats() {
    return GuiMessage(to_core::kAskUploadStats);
}

GuiMessage BuildSearchQuery(std::int32_t searchId, const SearchTerms& terms) {
    const std::array<std::pair<std::uint8_t, const std::string*>, 7> optional{{
        {4, &terms.keywords},
        {5, &terms.minSize},
        {6, &terms.maxSize},
        {12, &terms.bitrate},
        {9, &terms.artist},
        {10, &terms.title},
        {11, &terms.album},
    }};
    std::uint16_t count = 2;
    for (const auto& [kind, value] : optional) {
        count += value->empty() ? 0 : 1;
    }
    GuiMessage message(to_core::kSearchQuery);
    PutInt32(message, searchId);
    message.Put8(0);
    message.Put16(count);
    PutTerm(message, 7, "mp3");
    PutTerm(message, 8, "Audio");
    for (const auto& [kind, value] : optional) {
        if (!value->empty()) {
            PutTerm(message, kind, *value);
        }
    }
    message.Put32(kMaxHits);
    message.Put8(1);
    message.Put32(0);
    return message;
}

GuiMessage BuildCloseQuery(std::int32_t searchId) {
    GuiMessage message(to_core::kCloseQuery);
    PutInt32(message, searchId);
    message.Put8(0);
    return message;
}

GuiMessage BuildDownloadRequest(std::string_view fileName, std::int32_t resultId) {
    GuiMessage message(to_core::kDownloadRequest);
    message.Put16(1);
    message.PutString(fileName);
    PutInt32(message, resultId);
    message.Put8(1);
    return message;
}

GuiMessage BuildCancelDownload(std::int32_t fileNumber) {
    GuiMessage message(to_core::kCancelDownload);
    PutInt32(message, fileNumber);
    return message;
}

GuiMessage BuildSwitchDownload(std::int32_t fileNumber, bool resume) {
    GuiMessage message(to_core::kSwitchDownload);
    PutInt32(message, fileNumber);
    message.Put8(resume ? 1 : 0);
    return message;
}

GuiMessage BuildConsoleCommand(std::string_view commandLine) {
    GuiMessage message(to_core::kConsoleCommand);
    message.PutString(commandLine);
    return message;
}

GuiMessage BuildShutdown() {
    return GuiMessage(to_core::kShutdown);
}

}  // namespace korvana
