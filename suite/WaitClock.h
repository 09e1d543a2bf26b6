#pragma once

#include <cstdint>

namespace tolmar::suite {

// Time source of the waiting rules, injectable so tests need not wait.
class WaitClock {
 public:
  virtual ~WaitClock() = default;
  // Wall clock in whole seconds.
  virtual std::int64_t WholeSeconds() = 0;
  virtual void Sleep(int milliseconds) = 0;
};

class SystemWaitClock : public WaitClock {
 public:
  std::int64_t WholeSeconds() override;
  void Sleep(int milliseconds) override;
};

}  // namespace tolmar::suite
