#include "suite/ArchiveSettings.h"

namespace tolmar::suite {
namespace {

const QString kSettings = QStringLiteral("Settings");

int Clamp(int value, int low, int high) {
  return value < low ? low : (value > high ? high : value);
}

}  // namespace

ArchiveSettings ArchiveSettings::Read(const ProfileStore& profile) {
  ArchiveSettings settings;
  settings.rightHeight =
      profile.GetProfileInt(kSettings, QStringLiteral("RightHeight"), kDefaultRightHeight);
  settings.showMiniImages =
      profile.GetProfileInt(kSettings, QStringLiteral("ShowMiniImages"), 0) != 0;
  // A hand-edited or damaged value falls back to "no action" rather than an
  // action that does not exist.
  const int action = profile.GetProfileInt(kSettings, QStringLiteral("DBClikFlag"), 0);
  settings.doubleClickAction = action >= 1 && action <= 4 ? action : 0;
  settings.autoTimeSpace =
      Clamp(profile.GetProfileInt(kSettings, QStringLiteral("AutoTimeSpace"), 0), 0, 24 * 3600);
  settings.autoRefresh = profile.GetProfileInt(kSettings, QStringLiteral("AutoRefresh"), 0) != 0;
  settings.conditionDate = profile.GetProfileInt(kSettings, QStringLiteral("ConDate"), 0) != 0;
  settings.conditionModality =
      profile.GetProfileString(kSettings, QStringLiteral("ConModality"), QString());
  settings.listStyle = profile.GetProfileInt(kSettings, QStringLiteral("ListStyle"), 0) & 3;
  return settings;
}

bool WriteShowMiniImages(ProfileStore& profile, bool show) {
  return profile.WriteProfileInt(kSettings, QStringLiteral("ShowMiniImages"), show ? 1 : 0);
}

bool WriteParameterPage(ProfileStore& profile, int doubleClickAction, int autoTimeSpace,
                        bool autoRefresh) {
  return profile.WriteProfileInt(kSettings, QStringLiteral("DBClikFlag"), doubleClickAction) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("AutoTimeSpace"), autoTimeSpace) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("AutoRefresh"), autoRefresh ? 1 : 0);
}

bool WriteQueryBar(ProfileStore& profile, bool conditionDate, const QString& modality) {
  return profile.WriteProfileInt(kSettings, QStringLiteral("ConDate"), conditionDate ? 1 : 0) &&
         profile.WriteProfileString(kSettings, QStringLiteral("ConModality"), modality);
}

bool WriteListStyle(ProfileStore& profile, int style) {
  return profile.WriteProfileInt(kSettings, QStringLiteral("ListStyle"), style & 3);
}

}  // namespace tolmar::suite
