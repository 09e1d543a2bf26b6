#include "suite/WindowPlacement.h"

#include <algorithm>

namespace tolmar::suite {
namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kClipWnd = QStringLiteral("ClipWnd");

int SharedInt(const ProfileStore& profile, const QString& entry) {
  bool ok = false;
  const int value =
      profile.ReadSharedValue(kClipWnd, entry, QStringLiteral("0")).trimmed().toInt(&ok);
  return ok ? value : 0;
}

}  // namespace

ScreenRect Intersect(const ScreenRect& a, const ScreenRect& b) {
  const ScreenRect cut{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
  return cut.IsEmpty() ? ScreenRect{} : cut;
}

ScreenRect PlaceMainWindow(const ScreenRect& saved, bool clip, const ScreenRect& clipRect,
                           const ScreenRect& desktop) {
  const ScreenRect rect = clip ? Intersect(saved, clipRect) : saved;
  return rect.IsEmpty() ? desktop : rect;
}

ScreenRect PlaceMainWindow(const ProfileStore& profile, const ScreenRect& desktop) {
  const ScreenRect saved{profile.GetProfileInt(kSettings, QStringLiteral("MainWnd.left"), 0),
                         profile.GetProfileInt(kSettings, QStringLiteral("MainWnd.top"), 0),
                         profile.GetProfileInt(kSettings, QStringLiteral("MainWnd.right"), 0),
                         profile.GetProfileInt(kSettings, QStringLiteral("MainWnd.bottom"), 0)};
  const bool clip = SharedInt(profile, QStringLiteral("Clip")) != 0;
  const ScreenRect clipRect{SharedInt(profile, QStringLiteral("MainWnd.left")),
                            SharedInt(profile, QStringLiteral("MainWnd.top")),
                            SharedInt(profile, QStringLiteral("MainWnd.right")),
                            SharedInt(profile, QStringLiteral("MainWnd.bottom"))};
  return PlaceMainWindow(saved, clip, clipRect, desktop);
}

bool SaveMainWindowRect(ProfileStore& profile, const ScreenRect& rect, bool minimised) {
  if (minimised) return true;
  return profile.WriteProfileInt(kSettings, QStringLiteral("MainWnd.left"), rect.left) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("MainWnd.top"), rect.top) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("MainWnd.right"), rect.right) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("MainWnd.bottom"), rect.bottom);
}

std::optional<ScreenPoint> SavedDialogPosition(const ProfileStore& profile) {
  const int left = profile.GetProfileInt(kSettings, QStringLiteral("Dlg.left"), -1);
  const int top = profile.GetProfileInt(kSettings, QStringLiteral("Dlg.top"), -1);
  if (left < 0 || top < 0) return std::nullopt;
  return ScreenPoint{left, top};
}

bool SaveDialogPosition(ProfileStore& profile, const ScreenPoint& position) {
  return profile.WriteProfileInt(kSettings, QStringLiteral("Dlg.left"), position.x) &&
         profile.WriteProfileInt(kSettings, QStringLiteral("Dlg.top"), position.y);
}

}  // namespace tolmar::suite
