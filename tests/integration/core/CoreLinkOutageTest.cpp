#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "core/CoreLink.h"
#include "tests/core/DispatchTestSupport.h"
#include "tests/integration/core/ScriptedCore.h"

namespace korvana {
namespace {

class CountingPrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string&) override {
        failures += text == "Failed to create socket." ? 1 : 0;
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::atomic<int> failures{0};
};

// Lets no descriptor beyond the standard three be opened until the object
// goes away, so that creating a socket fails the way it does when the
// system runs out; descriptors already open keep working.
class NoNewDescriptors {
  public:
    NoNewDescriptors() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = 3;
        setrlimit(RLIMIT_NOFILE, &limited);
    }
    ~NoNewDescriptors() { setrlimit(RLIMIT_NOFILE, &saved_); }

  private:
    rlimit saved_{};
};

// Runs in a child process (it changes a process-wide limit) and exits with
// the number of message boxes seen over two outages of many attempts each.
// Everything that needs a new descriptor, the sanitizers' first checks of
// each polymorphic type included, happens before the limit is lowered.
[[noreturn]] void TwoOutages() {
    test::ScriptedCore core;
    StatusLog log;
    test::LogLines lines(log);
    CountingPrompter prompter;
    Prompter* volatile opaque = &prompter;  // a call the compiler cannot resolve early
    opaque->Inform("", "");
    SystemClock clock;
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = core.Port();
    config.retryFirst = config.retryLongest = std::chrono::milliseconds(5);
    CoreLink link(config, log, prompter, clock);
    link.StartReceiveThread();
    for (int outage = 1; outage <= 2; ++outage) {
        core.WaitUntil([&] { return link.IsLoggedIn(); });
        NoNewDescriptors limit;
        core.Drop();
        core.WaitUntil([&] { return link.FailedAttempts() >= 5u * static_cast<unsigned>(outage); });
    }
    const auto all = lines.Copy();
    const auto failureLines = std::count(all.begin(), all.end(), "Error connecting.");
    _exit(link.FailedAttempts() >= 10 && failureLines == 2 ? prompter.failures.load() : 99);
}

// Many failed attempts in each of two outages: one message box and one
// failure line per outage.
TEST(CoreLinkOutage, SocketFailureIsShownOncePerOutage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(TwoOutages(), ::testing::ExitedWithCode(2), "");
}

}  // namespace
}  // namespace korvana
