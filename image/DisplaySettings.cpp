#include "DisplaySettings.h"

#include <mutex>

namespace tolmar {

namespace {
std::mutex& SettingsMutex() {
  static std::mutex mutex;
  return mutex;
}
DisplaySettings& Stored() {
  static DisplaySettings settings;
  return settings;
}
}  // namespace

DisplaySettings CurrentDisplaySettings() {
  std::lock_guard lock(SettingsMutex());
  return Stored();
}

void SetDisplaySettings(const DisplaySettings& settings) {
  std::lock_guard lock(SettingsMutex());
  Stored() = settings;
}

void SetScoutRegionMode(bool region) {
  std::lock_guard lock(SettingsMutex());
  Stored().seqLineRegion = region;
}

}  // namespace tolmar
