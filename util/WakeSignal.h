#pragma once

namespace korvana {

// A file descriptor that another thread can make readable, so that a
// thread waiting in poll() wakes at once instead of at its next time-out.
class WakeSignal {
  public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    int Fd() const { return fd_; }
    void Notify();
    // Makes the descriptor unreadable again.
    void Drain();

  private:
    int fd_;
};

}  // namespace korvana
