#pragma once

#include <QPoint>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "RegionShape.h"
#include "image/ImageRect.h"

namespace tolmar {

class DicomImage;

// Texts of the viewer's string table used by the measurements.
namespace measure_text {
inline constexpr const char* kLength = "Len:%ld";                             // 130
inline constexpr const char* kArea = "Ar:%ld";                                // 177
inline constexpr const char* kMean = "Av:%.1f";                               // 178
inline constexpr const char* kDeviation = "SD:%.1f";                          // 180
inline constexpr const char* kClip = "(%4d,%4d)\r\n(%4d,%4d)\r\nw:%d, h:%d";  // 372
inline constexpr const char* kAngle = "Angle:%.1f";
}  // namespace measure_text

// "mm" when both pixel spacings are known, otherwise "Pt".
std::string UnitSuffix(const DicomImage& image);
// The modality value of a pixel of the current frame, truncated toward zero.
class PixelValues {
 public:
  explicit PixelValues(const DicomImage& image);
  bool Inside(int x, int y) const;
  int64_t At(int x, int y) const;

 private:
  const DicomImage& m_image;
  double m_slope = 1;
  double m_intercept = 0;
};

// Length of the line from (left, top) to (right, bottom) in mm (pixels when a
// spacing is unknown), truncated.
long LineLength(const DicomImage& image, const ImageRect& line);
std::string LengthText(const DicomImage& image, const ImageRect& line);

struct RegionStatistics {
  int64_t count = 0;
  double mean = 0;
  double deviation = 0;
  long area = 0;
};
// Statistics over the pixels of a region that lie inside the image.
RegionStatistics MeasureRegion(const DicomImage& image, const RegionShape& region);
// The region text with the "Annotation" mask (1 area, 2 mean, 4 deviation).
std::string RegionText(const RegionStatistics& statistics, int mask);

// The opening at the middle point of exactly three points, in degrees; 0 otherwise.
double AngleDegrees(const std::vector<QPoint>& points);
std::string AngleText(const std::vector<QPoint>& points);

std::string ClipText(const ImageRect& rect);

// Line calibration: both spacings become newLength / pixel length of the line.
// False (nothing changed) for a zero-length line or a length that is not positive.
bool CalibrateLine(DicomImage& image, const ImageRect& line, double newLengthMm);
// Length of the line in whole pixels, as the line dialog shows it.
long LinePixelLength(const ImageRect& line);

// Histogram of a region: value -> count, and what its dialog shows.
std::map<int64_t, int64_t> RegionHistogram(const DicomImage& image, const RegionShape& region);
struct HistogramSummary {
  int64_t leastValue = 0;
  int64_t leastCount = 0;
  int64_t mostValue = 0;
  int64_t mostCount = 0;
  int64_t firstValue = 0;
  int64_t lastValue = 0;
  // Vertical axis labels at 0, 1/4, 1/2, 3/4 and the full range between the
  // least and the largest count.
  std::vector<int64_t> axisLabels;
};
HistogramSummary SummariseHistogram(const std::map<int64_t, int64_t>& histogram);

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tolmar
