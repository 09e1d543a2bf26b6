#pragma once

#include <optional>

#include "suite/ProfileStore.h"

namespace tolmar::suite {

// Screen rectangle with right and bottom exclusive, as the saved values hold it.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
  bool operator==(const ScreenRect&) const = default;
};

// Intersection of two rectangles; all zeros when they do not meet.
ScreenRect Intersect(const ScreenRect& a, const ScreenRect& b);

// Where the archive manager's main window opens: the saved rectangle, cut to
// the clipping rectangle when clipping is on; an empty result (nothing saved,
// or no overlap) gives the whole desktop.
ScreenRect PlaceMainWindow(const ScreenRect& saved, bool clip, const ScreenRect& clipRect,
                           const ScreenRect& desktop);

// Reads "Settings" "MainWnd.*" of the program and "ClipWnd" of "General".
ScreenRect PlaceMainWindow(const ProfileStore& profile, const ScreenRect& desktop);

// Writes "Settings" "MainWnd.*" unless the window is minimised, which keeps
// the rectangle saved before.
bool SaveMainWindowRect(ProfileStore& profile, const ScreenRect& rect, bool minimised);

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Saved position of the patient-information window ("Dlg.left", "Dlg.top",
// default -1); used only when both are 0 or more.
std::optional<ScreenPoint> SavedDialogPosition(const ProfileStore& profile);
bool SaveDialogPosition(ProfileStore& profile, const ScreenPoint& position);

}  // namespace tolmar::suite
