#include "viewer/ui/StartTiming.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstdlib>

namespace tolmar::viewer {
namespace {

QElapsedTimer& Clock() {
  static QElapsedTimer clock;
  return clock;
}

// Milliseconds from the caller's launch to the start of main; 0 when the
// variable holds no launch time.
qint64& LaunchLeadMs() {
  static qint64 lead = 0;
  return lead;
}

}  // namespace

void StartTimingClock() {
  Clock().start();
  const char* value = std::getenv("TOLMAR_VIEWER_TIMING");
  if (!value) return;
  const long long launchNs = std::strtoll(value, nullptr, 10);
  // Anything smaller than a time after 2001 is a plain switch.
  if (launchNs < 1'000'000'000'000'000'000LL) return;
  const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
  const qint64 lead = nowMs - launchNs / 1'000'000;
  if (lead >= 0) LaunchLeadMs() = lead;
}

bool TimingEnabled() {
  static const bool enabled = std::getenv("TOLMAR_VIEWER_TIMING") != nullptr;
  return enabled;
}

void ReportTiming(const char* what) {
  if (!TimingEnabled() || !Clock().isValid()) return;
  std::fprintf(stderr, "%s %lld\n", what,
               static_cast<long long>(LaunchLeadMs() + Clock().elapsed()));
  std::fflush(stderr);
}

void ReportPeakResidentSize() {
  if (!TimingEnabled()) return;
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (!line.startsWith("VmHWM:")) continue;
    std::fprintf(stderr, "peak-rss-kb %lld\n",
                 line.mid(6).trimmed().split(' ').first().toLongLong());
    std::fflush(stderr);
    return;
  }
}

}  // namespace tolmar::viewer
