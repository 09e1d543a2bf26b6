#pragma once

namespace tolmar::viewer {

// Start-up timing for the benchmark: with TOLMAR_VIEWER_TIMING set, the program
// prints the milliseconds from its start to the first painted image and to the
// last loaded cell on standard error, and ends after the last cell.
void StartTimingClock();
bool TimingEnabled();
void ReportTiming(const char* what);

}  // namespace tolmar::viewer
