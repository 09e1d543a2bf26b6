#pragma once

namespace tolmar::viewer {

// Start-up timing for the benchmark: with TOLMAR_VIEWER_TIMING set, the program
// prints the milliseconds to the first painted image and to the last loaded
// cell on standard error, then its peak resident size, and ends after the last
// cell. The times count from the start of main, or, when the variable holds a
// wall-clock time in nanoseconds since 1970 (the moment the caller started the
// program), from that moment, so that loading the program itself is counted.
void StartTimingClock();
bool TimingEnabled();
void ReportTiming(const char* what);
// Prints "peak-rss-kb" with the process's peak resident size.
void ReportPeakResidentSize();

}  // namespace tolmar::viewer
