#pragma once

#include <QString>

#include "suite/ProfileStore.h"

namespace tolmar::suite {

// The archive manager's own values in section "Settings" of its profile
// (besides the window placement of WindowPlacement.h). The choices the user
// makes on the parameter page and the query bar are written when they change
// and read back at the next start, so a restart keeps them.
struct ArchiveSettings {
  static constexpr int kDefaultRightHeight = 500;

  int rightHeight = kDefaultRightHeight;  // initial height of the list pane
  bool showMiniImages = false;            // thumbnail strip at the next start
  int doubleClickAction = 0;              // "DBClikFlag": 1 to 4, 0 none
  int autoTimeSpace = 0;                  // auto-refresh period in seconds, 0 off
  bool autoRefresh = false;               // refresh when activated
  bool conditionDate = false;             // "ConDate"
  QString conditionModality;              // "ConModality"
  int listStyle = 0;                      // low two bits of the list pane's style

  static ArchiveSettings Read(const ProfileStore& profile);
};

// Writers, one per moment the archive manager saves a value.
bool WriteShowMiniImages(ProfileStore& profile, bool show);
bool WriteParameterPage(ProfileStore& profile, int doubleClickAction, int autoTimeSpace,
                        bool autoRefresh);
bool WriteQueryBar(ProfileStore& profile, bool conditionDate, const QString& modality);
bool WriteListStyle(ProfileStore& profile, int style);

}  // namespace tolmar::suite
