#include "suite/WaitClock.h"

#include <chrono>
#include <thread>

namespace tolmar::suite {

std::int64_t SystemWaitClock::WholeSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void SystemWaitClock::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tolmar::suite
