#include "viewer/ui/StartTiming.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace tolmar::viewer {
namespace {

QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  return clock;
}

}  // namespace

void StartTimingClock() { Clock().start(); }

bool TimingEnabled() {
  static const bool enabled = std::getenv("TOLMAR_VIEWER_TIMING") != nullptr;
  return enabled;
}

void ReportTiming(const char* what) {
  if (!TimingEnabled() || !Clock().isValid()) return;
  std::fprintf(stderr, "%s %lld\n", what, static_cast<long long>(Clock().elapsed()));
  std::fflush(stderr);
}

}  // namespace tolmar::viewer
