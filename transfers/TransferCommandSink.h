#pragma once

#include <cstdint>

namespace korvana {

class CoreLink;

// The core commands the transfer list sends: cancel a download, pause or
// resume it. The program sends them through the core link; tests record them.
class TransferCommandSink {
  public:
    virtual ~TransferCommandSink() = default;
    virtual void SendCancelDownload(std::int32_t fileNumber) = 0;
    virtual void SendSwitchDownload(std::int32_t fileNumber, bool resume) = 0;
};

// The commands sent through the core link.
class CoreLinkTransferCommands final : public TransferCommandSink {
  public:
    explicit CoreLinkTransferCommands(CoreLink& link) : link_(link) {}
    void SendCancelDownload(std::int32_t fileNumber) override;
    void SendSwitchDownload(std::int32_t fileNumber, bool resume) override;

  private:
    CoreLink& link_;
};

}  // namespace korvana
