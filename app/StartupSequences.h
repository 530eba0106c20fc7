#pragma once

#include <chrono>
#include <optional>
#include <string>

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
// frame once (when a core of ours runs), then Poll, called from a timer,
// reports done when the core has exited or the time budget is spent. The
// budget is that of the original wait: two 3.5-second waits after the first
// check, so about 10.5 s.
class CoreStopper {
  public:
    CoreStopper(const Clock& clock, const CoreProcess& core);

    // Returns true when there is nothing to wait for (no core of ours runs);
    // otherwise calls `send` exactly once.
    template <typename Send>
    bool Start(Send&& send) {
        if (!BeginWait()) {
            return true;
        }
        send();
        return false;
    }
    // True once the core has gone or the budget is spent.
    bool Poll();

    static constexpr std::chrono::milliseconds kBudget{10500};

  private:
    bool BeginWait();

    const Clock& clock_;
    const CoreProcess& core_;
    std::chrono::steady_clock::time_point started_{};
    bool done_ = false;
};

}  // namespace korvana
