#pragma once

#include <QString>
#include <vector>

#include "image/DicomImage.h"

namespace tolmar::viewer {

// The scouts the scout-line window offers for an image: every other loaded
// image whose line set holds a line of it. The list keeps plain pointers, so
// each is checked against the loaded images before use.
class ScoutWindowModel {
 public:
  // The shown scout stays only when the old and new lists both have scouts and
  // their first scouts share a frame of reference; otherwise the first is shown.
  void FillFor(const DicomImage* image);
  // The shown scout; scouts that went away leave the list (the first is shown
  // then). Null without scouts.
  DicomImage* Shown();
  // Step through the list, wrapping around.
  void Next();
  void Previous();
  int Count() const { return static_cast<int>(m_scouts.size()); }
  int Position() const { return m_position; }
  // "shown/count", counted from 1; empty without scouts.
  QString Counter() const;

 private:
  static bool Alive(const DicomImage* image);

  std::vector<DicomImage*> m_scouts;
  int m_position = -1;
};

}  // namespace tolmar::viewer
