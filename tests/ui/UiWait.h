#pragma once

#include <QDeadlineTimer>
#include <QTest>

namespace korvana::test {

// Runs the event loop until `condition` holds or `timeoutMs` pass; returns
// whether it held. For widget tests that wait on timers.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

}  // namespace korvana::test
