#pragma once

#include <QLocalServer>
#include <filesystem>
#include <functional>
#include <string>

namespace korvana {

// The running copy's end: listens on the raise socket and calls `raise` for
// each well-formed request, then answers it. Anything else is dropped.
// Listening fails quietly (the program runs on without it); Listening() says.
class RaiseServer : public QObject {
  public:
    RaiseServer(const std::filesystem::path& socket, std::function<void()> raise,
                QObject* parent = nullptr);
    bool Listening() const { return server_.isListening(); }

  private:
    void Accept();

    QLocalServer server_;
    std::function<void()> raise_;
};

// The second copy's end: asks the copy listening on `socket` to raise its
// window. True when it answered within `timeoutMs`. Blocks the caller, which
// runs before any window exists; a copy still starting up is waited for.
bool AskToRaise(const std::filesystem::path& socket, int timeoutMs);

}  // namespace korvana
