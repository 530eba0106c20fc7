#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvana {

class Clock;
class CoreProcess;

// The splash line: a one-second tick counter that changes the text on the
// first, second, third and fifth tick and closes the splash on the sixth.
struct SplashStep {
    std::optional<std::string> text;  // new text for the line, if it changes
    bool close = false;
};
SplashStep SplashTick(int ticksBefore);

inline constexpr std::chrono::milliseconds kSplashTick{1000};

// The shutdown dialog's bar: one step every 50 ms, 1 to 99 and round again.
inline constexpr std::chrono::milliseconds kShutdownTick{50};
inline constexpr int ShutdownBarNext(int counter) {
    return counter + 1 >= 100 ? 1 : counter + 1;
}

// Stops the core on the way out without blocking: Start sends the shutdown
// frame once (when a core runs), then Poll, called from a timer, reports
// done when the core has exited or the time is spent. A core that ignores
// the shutdown message is sent SIGTERM after kPoliteWait and SIGKILL after
// kTermWait more, when this program started it; one it only found running
// is left alone. Each step is noted in the log. The whole takes no longer
// than kBudget. A core that is not ours (`coreIsRemote`, see IsRemoteCore)
// is neither told to shut down nor signalled: Start sends nothing and Poll
// reports done after kLeaveNotice, time for the shutdown dialog to say that
// the core keeps running.
class CoreStopper {
  public:
    using Note = std::function<void(std::string_view line)>;

    CoreStopper(const Clock& clock, CoreProcess& core, Note note = {}, bool coreIsRemote = false);

    // Returns true when there is nothing to wait for (no core runs);
    // otherwise calls `send` exactly once, unless the core is not ours.
    template <typename Send>
    bool Start(Send&& send) {
        if (!BeginWait()) {
            return true;
        }
        if (!coreIsRemote_) {
            send();
        }
        return false;
    }
    // True once the core has gone or the time is spent.
    bool Poll();

    static constexpr std::chrono::milliseconds kPoliteWait{7000};
    static constexpr std::chrono::milliseconds kTermWait{3000};
    static constexpr std::chrono::milliseconds kKillWait{500};
    static constexpr std::chrono::milliseconds kBudget = kPoliteWait + kTermWait + kKillWait;
    static constexpr std::chrono::milliseconds kLeaveNotice{1500};

  private:
    enum class Phase { Polite, Terminated, Killed };

    bool BeginWait();
    bool Escalate(std::chrono::steady_clock::duration waited);
    void Say(std::string_view line) const;

    const Clock& clock_;
    CoreProcess& core_;
    Note note_;
    bool coreIsRemote_;
    std::chrono::steady_clock::time_point started_{};
    Phase phase_ = Phase::Polite;
    bool done_ = false;
};

}  // namespace korvana
