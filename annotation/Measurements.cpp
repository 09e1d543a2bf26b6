#include "Measurements.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "image/DicomImage.h"
#include "image/GreyImage16.h"

namespace tolmar {

std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  return std::string(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
}

std::string UnitSuffix(const DicomImage& image) {
  return image.ColumnSpacing() != 0 && image.RowSpacing() != 0 ? "mm" : "Pt";
}

PixelValues::PixelValues(const DicomImage& image) : m_image(image) {
  if (const auto* grey = dynamic_cast<const GreyImage16*>(&image)) {
    m_slope = grey->Slope();
    m_intercept = grey->Intercept();
  }
}

bool PixelValues::Inside(int x, int y) const {
  return x >= 0 && y >= 0 && x < m_image.PaddedColumns() && y < m_image.Rows() &&
         m_image.Frame() != nullptr;
}

int64_t PixelValues::At(int x, int y) const {
  const int stored = m_image.GetPixel(x, y);
  if (stored < 0) return 0;
  return static_cast<int64_t>(std::trunc(stored * m_slope + m_intercept));
}

namespace {
void Spacings(const DicomImage& image, double& sx, double& sy) {
  sx = image.ColumnSpacing();
  sy = image.RowSpacing();
  if (sx == 0 || sy == 0) sx = sy = 1;
}
}  // namespace

long LineLength(const DicomImage& image, const ImageRect& line) {
  double sx = 0, sy = 0;
  Spacings(image, sx, sy);
  const double dy = static_cast<double>(line.bottom - line.top) * sy;
  const double dx = static_cast<double>(line.right - line.left) * sx;
  return static_cast<long>(std::sqrt(dy * dy + dx * dx));
}

std::string LengthText(const DicomImage& image, const ImageRect& line) {
  return Format(measure_text::kLength, LineLength(image, line)) + UnitSuffix(image);
}

RegionStatistics MeasureRegion(const DicomImage& image, const RegionShape& region) {
  RegionStatistics result;
  const PixelValues values(image);
  // Pixels outside the image are not part of any measurement.
  const ImageRect b =
      region.Bounds().Intersected(ImageRect{0, 0, image.PaddedColumns(), image.Rows()});
  if (b.IsEmpty() || !image.Frame()) return result;
  int64_t sum = 0;
  for (int y = b.top; y < b.bottom; ++y) {
    for (int x = b.left; x < b.right; ++x) {
      if (!region.Contains(x, y)) continue;
      sum += values.At(x, y);
      ++result.count;
    }
  }
  if (result.count == 0) return result;
  // The mean is an integer division, shown as a whole number.
  result.mean = static_cast<double>(sum / result.count);
  double squares = 0;
  for (int y = b.top; y < b.bottom; ++y) {
    for (int x = b.left; x < b.right; ++x) {
      if (!region.Contains(x, y)) continue;
      const double d = static_cast<double>(values.At(x, y)) - result.mean;
      squares += d * d;
    }
  }
  result.deviation = std::sqrt(squares / static_cast<double>(result.count));
  result.area = static_cast<long>(image.RowSpacing() * image.ColumnSpacing() *
                                  static_cast<double>(result.count));
  return result;
}

std::string RegionText(const RegionStatistics& s, int mask) {
  std::string text;
  if (mask & 1) text += Format(measure_text::kArea, s.area);
  if (mask & 2) text += "\r\n" + Format(measure_text::kMean, s.mean);
  if (mask & 4) text += "\r\n" + Format(measure_text::kDeviation, s.deviation);
  return text;
}

double AngleDegrees(const std::vector<QPoint>& p) {
  if (p.size() != 3) return 0.0;
  auto distance = [](QPoint a, QPoint b) {
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return std::sqrt(dx * dx + dy * dy);
  };
  const double a = distance(p[0], p[1]);
  const double b = distance(p[1], p[2]);
  const double c = distance(p[0], p[2]);
  if (a == 0 || b == 0) return 0.0;
  // Rounding can push the cosine a hair past +-1 for collinear points.
  const double cosine = std::clamp((a * a + b * b - c * c) / (2 * a * b), -1.0, 1.0);
  return std::acos(cosine) * 57.29577951471995;
}

std::string AngleText(const std::vector<QPoint>& points) {
  return Format(measure_text::kAngle, AngleDegrees(points));
}

std::string ClipText(const ImageRect& rect) {
  const ImageRect r = rect.Normalised();
  return Format(measure_text::kClip, r.left, r.top, r.right, r.bottom, r.Width(), r.Height());
}

long LinePixelLength(const ImageRect& line) {
  const double dx = line.right - line.left;
  const double dy = line.bottom - line.top;
  return static_cast<long>(std::sqrt(dx * dx + dy * dy));
}

bool CalibrateLine(DicomImage& image, const ImageRect& line, double newLengthMm) {
  const double dx = line.right - line.left;
  const double dy = line.bottom - line.top;
  const double pixels = std::sqrt(dx * dx + dy * dy);
  if (pixels == 0 || !(newLengthMm > 0) || !std::isfinite(newLengthMm)) return false;
  const double spacing = newLengthMm / pixels;
  image.SetPixelSpacing(spacing, spacing);
  return true;
}

std::map<int64_t, int64_t> RegionHistogram(const DicomImage& image, const RegionShape& region) {
  std::map<int64_t, int64_t> histogram;
  const PixelValues values(image);
  const ImageRect b =
      region.Bounds().Intersected(ImageRect{0, 0, image.PaddedColumns(), image.Rows()});
  if (b.IsEmpty() || !image.Frame()) return histogram;
  for (int y = b.top; y < b.bottom; ++y) {
    for (int x = b.left; x < b.right; ++x) {
      if (region.Contains(x, y)) ++histogram[values.At(x, y)];
    }
  }
  return histogram;
}

HistogramSummary SummariseHistogram(const std::map<int64_t, int64_t>& histogram) {
  HistogramSummary s;
  if (histogram.empty()) return s;
  s.firstValue = histogram.begin()->first;
  s.lastValue = histogram.rbegin()->first;
  s.leastCount = histogram.begin()->second;
  s.leastValue = s.firstValue;
  s.mostCount = s.leastCount;
  s.mostValue = s.firstValue;
  for (const auto& [value, count] : histogram) {
    if (count < s.leastCount) {
      s.leastCount = count;
      s.leastValue = value;
    }
    if (count > s.mostCount) {
      s.mostCount = count;
      s.mostValue = value;
    }
  }
  for (int k = 0; k <= 4; ++k)
    s.axisLabels.push_back(s.leastCount + (s.mostCount - s.leastCount) * k / 4);
  return s;
}

}  // namespace tolmar
