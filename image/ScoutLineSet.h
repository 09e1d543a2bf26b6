#pragma once

#include <QPoint>
#include <QRect>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "CellPlacement.h"
#include "ScoutPlane.h"

class QPainter;

namespace tolmar {

class ByteWriter;

// Where another image cuts through a scout.
struct ScoutLine {
  double position = 0;  // scout row (from the top, with a fraction) at the scout's centre
  double angle = 0;     // radians
  bool hasSection = false;  // position and angle could be computed
  std::vector<QPoint> points;  // region geometry, scout pixels
  std::string label;           // the other image's instance label
  std::string uid;             // the other image's SOP instance UID
  std::string seriesLabel;
  bool highlighted = false;
};

// How a set is painted.
struct ScoutDrawOptions {
  bool regionMode = true;
  bool drawOneSeries = true;
  bool printing = false;
  bool currentOnly = false;
  double printerRatio = 1.0;  // label height factor on a printer
  int imageCentreColumn = 0;  // paddedColumns / 2 of the scout
};

// The lines of one scout, kept in ascending order of position. The loader
// thread adds lines while the user-interface thread paints, so every access
// takes the set's lock.
class ScoutLineSet {
 public:
  static constexpr uint32_t kLineColour = 0x00FF00;         // 0x00BBGGRR
  static constexpr uint32_t kHighlightColour = 0x0000FF;

  ScoutLineSet() = default;
  ScoutLineSet(const ScoutLineSet&) = delete;
  ScoutLineSet& operator=(const ScoutLineSet&) = delete;

  // A set exists once its scout has been loaded (or a copy record was read).
  bool Exists() const;
  void Reset(bool exists);

  // Adds the line of `other` on `scout`. No line when either plane is invalid,
  // the set already has one for `other`'s UID, `scout` is no scout, `other` is
  // one, the frames differ, or neither geometry can be computed (parallel
  // planes, unreadable texts). Answers whether a line was added.
  bool AddLine(const ScoutPlane& scout, const ScoutPlane& other, bool checkFrameUid);
  bool MarkCurrent(const std::string& uid, bool force);

  int Interval() const;
  int MaximumLabel() const;
  int MinimumLabel() const;
  // A negative value leaves the value as it is.
  void SetDisplayValues(int interval, int maximum, int minimum);
  std::string CurrentSeries() const;
  std::vector<ScoutLine> Lines() const;

  // Paints the lines into `cell` with `placement` mapping scout pixels to it.
  void Draw(QPainter& painter, const QRect& cell, const CellPlacement& placement,
            const ScoutDrawOptions& options) const;

  // The copy record of the image state record. Writing leaves out what Draw
  // would never show (other series, labels outside the range).
  void WriteCopyRecord(ByteWriter& writer, bool regionMode, bool drawOneSeries) const;
  // Replaces the lines; answers the region-mode flag of the last line read
  // (or `regionMode` unchanged when none). False on a short or hostile record.
  bool ReadCopyRecord(std::span<const uint8_t> record, bool& regionMode);

 private:
  bool Shown(const ScoutLine& line, bool drawOneSeries) const;

  mutable std::mutex m_mutex;
  bool m_exists = false;
  std::vector<ScoutLine> m_lines;
  std::string m_currentSeries;
  int m_interval = 0;
  int m_maximum = 0;
  int m_minimum = 0;
};

// The geometry of `other`'s line on `scout`; false when the planes are parallel
// or the texts cannot be read.
bool ScoutSectionGeometry(const ScoutPlane& scout, const ScoutPlane& other, double& position, double& angle);
bool ScoutRegionGeometry(const ScoutPlane& scout, const ScoutPlane& other, std::vector<QPoint>& points);

}  // namespace tolmar
