#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace korvana {

// The frames waiting to go to the core, written by one writer in the order
// they were queued, so frames from different threads never interleave.
// Frames queued while there is no logged-in connection wait. A connection
// begins with its log-in frames, ahead of everything else; when it breaks,
// the frame being written is kept and goes out whole, from its first byte,
// right after the next log-in.
class OutboundQueue {
  public:
    using Frame = std::vector<std::uint8_t>;

    // Any thread. False (and nothing queued) once the final frame is queued.
    bool Push(Frame frame);
    // Queues the frame after which nothing more is accepted.
    bool PushFinal(Frame frame);
    bool Closed() const;

    // The writer's side, one thread.
    void StartSession(std::vector<Frame> logInFrames);
    void EndSession();
    // The unwritten rest of the current frame; empty when nothing is to be
    // written now (no session, or everything written).
    std::span<const std::uint8_t> Pending();
    // How much of the current frame has gone out already.
    std::size_t WrittenOfCurrent() const;
    void Advance(std::size_t n);
    // The final frame has gone out whole.
    bool FinalWritten() const;

  private:
    struct Entry {
        Frame bytes;
        bool final = false;
    };
    struct Current {
        Entry entry;
        bool logIn = false;
        std::size_t written = 0;
    };

    bool PushEntry(Entry entry);
    bool TakeNext();

    mutable std::mutex mutex_;
    std::deque<Entry> queued_;
    bool closed_ = false;
    bool finalWritten_ = false;
    bool inSession_ = false;
    std::deque<Frame> logIn_;
    std::optional<Current> current_;
};

}  // namespace korvana
