#include "transfers/TransferCommandSink.h"

#include "core/CoreLink.h"

namespace korvana {

void CoreLinkTransferCommands::SendCancelDownload(std::int32_t fileNumber) {
    link_.SendCancelDownload(fileNumber);
}

void CoreLinkTransferCommands::SendSwitchDownload(std::int32_t fileNumber, bool resume) {
    link_.SendSwitchDownload(fileNumber, resume);
}

}  // namespace korvana
