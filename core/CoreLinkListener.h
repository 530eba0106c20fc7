#pragma once

namespace korvana {

// News from the core link for the window. The calls come on the link's
// receive thread: an implementation posts to the GUI thread and never waits
// for it, since the GUI thread may be waiting for the link to stop.
class CoreLinkListener {
  public:
    virtual ~CoreLinkListener() = default;
    // The core accepted the log-in (after every reconnection too): time to
    // (re)start the 5000 ms poll timer.
    virtual void OnLoggedIn() {}
    // A client-statistics message was stored: time to refresh the status panes.
    virtual void OnClientStats() {}
    // A logged-in connection ended; the link tries again on its own.
    virtual void OnLinkDown() {}
    // The core refused the user name or password; called once per refusal
    // that follows an accepted log-in or the start.
    virtual void OnLoginRefused() {}
};

}  // namespace korvana
