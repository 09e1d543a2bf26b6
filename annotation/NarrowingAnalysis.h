#pragma once

#include <QPoint>
#include <QRect>
#include <string>
#include <vector>

namespace tolmar {

class DicomImage;

// Points from `a` toward `b` by Bresenham's method: max(|dx|, |dy|) points (at
// least one), starting with `a`, `b` itself excluded.
std::vector<QPoint> RasterLine(QPoint a, QPoint b);

// The threshold of the narrowing dialog: a number, or a percentage ("15%").
struct NarrowingThreshold {
  int value = 30;
  bool percent = false;
};
// False (threshold unchanged) for text that is not a whole number.
bool ParseThreshold(const std::string& text, NarrowingThreshold& threshold);

// One ray across the vessel: both sides start at the centre-line point.
struct NarrowingRay {
  size_t segment = 0;
  QPoint origin;
  std::vector<QPoint> sides[2];
};

struct NarrowingResult {
  std::vector<QPoint> outline;  // first-side edges, then second-side edges reversed
  std::vector<double> widths;   // per ray, spacing applied, not truncated
  double widest = 0;
  double narrowest = 10000;
};

// The narrowing analysis of a centre line: rays built once (range R on each
// side), then analysed against a band around the value at each segment's start.
class NarrowingAnalysis {
 public:
  static constexpr int kRayRange = 60;

  NarrowingAnalysis(const DicomImage& image, std::vector<QPoint> centreLine, int range = kRayRange);
  const std::vector<QPoint>& CentreLine() const { return m_centreLine; }
  const std::vector<NarrowingRay>& Rays() const { return m_rays; }
  NarrowingResult Analyse(const NarrowingThreshold& threshold) const;

 private:
  const DicomImage& m_image;
  std::vector<QPoint> m_centreLine;
  std::vector<QPoint> m_segmentStarts;
  std::vector<NarrowingRay> m_rays;
};

// "%.1f mm" when the image's spacing is known, else "%.1f pt".
std::string WidthText(const DicomImage& image, double width);

// The width profile graph: top value, axis labels and the polyline of widths.
struct NarrowingProfile {
  double topValue = 0;
  std::vector<std::string> labels;  // 25 %, 50 %, 75 %, 100 % of the top value
  std::vector<QPoint> points;
};
NarrowingProfile ProfileGraph(const NarrowingResult& result, const QRect& area);

}  // namespace tolmar
