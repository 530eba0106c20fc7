#pragma once

class QWidget;

namespace korvana {

// A measuring aid for result floods and library arrivals, off unless the environment variable
// KORVANA_PROBE names a file. Then it appends timestamped lines there (the
// monotonic clock in nanoseconds, a word, a number):
//   <ns> rows <n>    the result list now holds n rows
//   <ns> library <n> the library list now holds n rows
//   <ns> gap <ms>    the GUI thread did not turn for that long (a 10 ms timer
//                    that fired late; only gaps of 20 ms or more)
//   <ns> rss <bytes> resident memory, every 100 ms
//   <ns> search <n>  the probe started the search, n rows listed before
// With KORVANA_PROBE_SEARCH set, it types those words into the keyword box
// and presses Return once the box has been on screen for two seconds, as a
// user would.
// The probe lives as long as `window`.
void StartPerformanceProbeIfAsked(QWidget& window);

}  // namespace korvana
