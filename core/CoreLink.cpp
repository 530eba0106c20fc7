#include "core/CoreLink.h"

#include <utility>

#include "core/StatusLine.h"
#include "prefs/ConsoleArgument.h"

namespace korvana {

CoreLink::CoreLink(CoreLinkConfig config, StatusLog& log, Prompter& prompter, const Clock& clock)
    : config_(std::move(config)),
      log_(log),
      prompter_(prompter),
      clock_(clock),
      dispatcher_(log, clock, tables_) {}

CoreLink::~CoreLink() {
    stopping_ = true;
    stop_.Notify();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CoreLink::SetListener(CoreLinkListener* listener) {
    dispatcher_.SetListener(listener);
}

void CoreLink::SetSearchSink(CoreResultSink* sink) {
    dispatcher_.SetResultSink(sink);
}

void CoreLink::SetTransferSink(TransferSink* sink) {
    dispatcher_.SetTransferSink(sink);
}

void CoreLink::StartReceiveThread() {
    if (!thread_.joinable()) {
        thread_ = std::thread(&CoreLink::Run, this);
    }
}

void CoreLink::Enqueue(const GuiMessage& message) {
    // The core takes no larger message; sending one would only be refused.
    if (message.Length() > GuiMessage::kMaxPayload) {
        log_.Line("Message too long, not sent.");
        return;
    }
    if (queue_.Push(message.ToFrame())) {
        wake_.Notify();
    }
}

void CoreLink::PollTick() {
    if (!IsLoggedIn()) {
        return;
    }
    AskDownloadingFiles();
    AskUploadStats();
}

void CoreLink::SendShutdown() {
    if (!queue_.PushFinal(BuildShutdown().ToFrame())) {
        return;
    }
    log_.Line("Telling server to shutdown.");
    wake_.Notify();
}

void CoreLink::SendSearchQuery(std::int32_t searchId, const SearchTerms& terms) {
    Enqueue(BuildSearchQuery(searchId, terms));
}

void CoreLink::SendCloseQuery(std::int32_t searchId) {
    log_.Line("Sending close query.");
    Enqueue(BuildCloseQuery(searchId));
}

void CoreLink::SendDownloadRequest(std::string_view fileName, std::int32_t resultId) {
    log_.Line("Sending download request.");
    Enqueue(BuildDownloadRequest(fileName, resultId));
    AskDownloadingFiles();
}

void CoreLink::AskDownloadingFiles() {
    log_.Line("Asking for downloading files");
    Enqueue(BuildAskDownloadingFiles());
}

void CoreLink::AskUploadStats() {
    log_.Line("Asking for upload stats");
    Enqueue(BuildAskUploadStats());
}

void CoreLink::SendCancelDownload(std::int32_t fileNumber) {
    log_.Line("Sending cancel download.");
    Enqueue(BuildCancelDownload(fileNumber));
}

void CoreLink::SendSwitchDownload(std::int32_t fileNumber, bool resume) {
    log_.Line("Sending Switch Download.");
    Enqueue(BuildSwitchDownload(fileNumber, resume));
}

void CoreLink::SendSetOption(std::string_view name, std::string_view value) {
    log_.Line("Sending option.");
    Enqueue(BuildSetOption(name, value));
}

void CoreLink::SendOptionList(std::string_view name, std::string_view value) {
    log_.Line("Sending option.");
    Enqueue(BuildOptionList(name, value));
}

void CoreLink::SendConsoleCommand(std::string_view commandLine) {
    // The core runs each line as a command of its own: a line break inside
    // would smuggle in commands nobody asked for.
    if (!IsOneConsoleLine(commandLine)) {
        log_.Line("A console command holding a line break was not sent.");
        return;
    }
    log_.Line(commandLine);
    Enqueue(BuildConsoleCommand(commandLine));
}

std::string CoreLink::OptionValue(std::string_view name) const {
    return tables_.OptionValue(name);
}

std::int32_t CoreLink::ConnectedServers() const {
    return tables_.ConnectedServers();
}

ClientStatistics CoreLink::ClientStats() const {
    return tables_.ClientStats();
}

}  // namespace korvana
