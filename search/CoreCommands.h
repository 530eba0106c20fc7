#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/OutboundMessages.h"

namespace korvana {

class CoreLink;

// What the search page asks of the core. Commands only queue their message
// and return.
class CoreCommands {
  public:
    virtual ~CoreCommands() = default;
    virtual void SendSearchQuery(std::int32_t searchId, const SearchTerms& terms) = 0;
    virtual void SendCloseQuery(std::int32_t searchId) = 0;
    // Also asks for the download list, so that the download shows up soon.
    virtual void SendDownloadRequest(std::string_view fileName, std::int32_t resultId) = 0;
    // False while the link to the core is down: commands wait for it then.
    virtual bool IsConnected() const { return true; }
    // Why the link is down when the reason is the user's to fix (the core
    // refused the password), or an empty text.
    virtual std::string ConnectionProblem() const { return {}; }
};

// The commands through the core link.
class CoreLinkCommands final : public CoreCommands {
  public:
    explicit CoreLinkCommands(CoreLink& link) : link_(link) {}

    void SendSearchQuery(std::int32_t searchId, const SearchTerms& terms) override;
    void SendCloseQuery(std::int32_t searchId) override;
    void SendDownloadRequest(std::string_view fileName, std::int32_t resultId) override;
    bool IsConnected() const override;
    std::string ConnectionProblem() const override;

  private:
    CoreLink& link_;
};

}  // namespace korvana
