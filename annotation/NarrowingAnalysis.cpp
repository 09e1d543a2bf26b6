#include "NarrowingAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Measurements.h"
#include "image/DicomImage.h"

namespace tolmar {

std::vector<QPoint> RasterLine(QPoint a, QPoint b) {
  const int dx = std::abs(b.x() - a.x());
  const int dy = std::abs(b.y() - a.y());
  const int sx = b.x() >= a.x() ? 1 : -1;
  const int sy = b.y() >= a.y() ? 1 : -1;
  const int count = std::max({dx, dy, 1});
  std::vector<QPoint> points;
  points.reserve(static_cast<size_t>(count));
  int x = a.x(), y = a.y();
  int error = dx - dy;
  for (int i = 0; i < count; ++i) {
    points.emplace_back(x, y);
    const int e2 = 2 * error;
    if (e2 > -dy) {
      error -= dy;
      x += sx;
    }
    if (e2 < dx) {
      error += dx;
      y += sy;
    }
  }
  return points;
}

bool ParseThreshold(const std::string& text, NarrowingThreshold& threshold) {
  std::string body = text;
  while (!body.empty() && body.back() == ' ') body.pop_back();
  while (!body.empty() && body.front() == ' ') body.erase(0, 1);
  const bool percent = !body.empty() && body.back() == '%';
  if (percent) body.pop_back();
  if (body.empty()) return false;
  char* end = nullptr;
  const long value = std::strtol(body.c_str(), &end, 10);
  if (*end != '\0' || value < 0 || value > 1000000) return false;
  threshold.value = static_cast<int>(value);
  threshold.percent = percent;
  return true;
}

NarrowingAnalysis::NarrowingAnalysis(const DicomImage& image, std::vector<QPoint> centreLine,
                                     int range)
    : m_image(image), m_centreLine(std::move(centreLine)) {
  // A double click leaves a second point one pixel right of the first.
  if (m_centreLine.size() >= 2 && m_centreLine[1].y() == m_centreLine[0].y() &&
      m_centreLine[1].x() == m_centreLine[0].x() + 1) {
    m_centreLine.erase(m_centreLine.begin());
  }
  for (size_t i = 0; i + 1 < m_centreLine.size(); ++i) {
    const QPoint a = m_centreLine[i];
    const QPoint b = m_centreLine[i + 1];
    if (a == b) continue;
    const double ax = a.x(), ay = a.y(), bx = b.x(), by = b.y();
    const long length = std::lround(std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by)));
    if (length == 0) continue;
    const long vx = static_cast<long>(a.y() - b.y()) * range / length;
    const long vy = -(static_cast<long>(a.x() - b.x()) * range / length);
    const QPoint v(static_cast<int>(vx), static_cast<int>(vy));
    const size_t segment = m_segmentStarts.size();
    m_segmentStarts.push_back(a);
    for (const QPoint& p : RasterLine(a, b)) {
      NarrowingRay ray;
      ray.segment = segment;
      ray.origin = p;
      ray.sides[0] = RasterLine(p, p + v);
      ray.sides[1] = RasterLine(p, p - v);
      m_rays.push_back(std::move(ray));
    }
  }
}

NarrowingResult NarrowingAnalysis::Analyse(const NarrowingThreshold& threshold) const {
  NarrowingResult result;
  std::vector<QPoint> firstEdges, secondEdges;
  double sx = m_image.ColumnSpacing(), sy = m_image.RowSpacing();
  if (sx == 0 || sy == 0) sx = sy = 1;
  for (const NarrowingRay& ray : m_rays) {
    const int64_t r = std::max(
        0, m_image.GetPixel(m_segmentStarts[ray.segment].x(), m_segmentStarts[ray.segment].y()));
    int64_t low = 0, high = 0;
    if (threshold.percent) {
      low = r * (100 - threshold.value) / 100;
      high = r * (100 + threshold.value) / 100;
    } else {
      low = r - threshold.value;
      high = r + threshold.value;
    }
    // A threshold above the reference value leaves the band open downwards.
    low = std::max<int64_t>(low, 0);
    QPoint edges[2];
    for (int side = 0; side < 2; ++side) {
      const auto& points = ray.sides[side];
      edges[side] = points.back();
      for (const QPoint& p : points) {
        // Outside the image counts as outside the band.
        const int64_t value = m_image.GetPixel(p.x(), p.y());
        if (value < low || value > high) {
          edges[side] = p;
          break;
        }
      }
    }
    firstEdges.push_back(edges[0]);
    secondEdges.push_back(edges[1]);
    const double dx = (edges[1].x() - edges[0].x()) * sx;
    const double dy = (edges[1].y() - edges[0].y()) * sy;
    const double width = std::sqrt(dx * dx + dy * dy);
    result.widths.push_back(width);
    result.widest = std::max(result.widest, width);
    result.narrowest = std::min(result.narrowest, width);
  }
  result.outline = firstEdges;
  result.outline.insert(result.outline.end(), secondEdges.rbegin(), secondEdges.rend());
  return result;
}

std::string WidthText(const DicomImage& image, double width) {
  const bool known = image.ColumnSpacing() != 0 && image.RowSpacing() != 0;
  return Format(known ? "%.1f mm" : "%.1f pt", width);
}

NarrowingProfile ProfileGraph(const NarrowingResult& result, const QRect& area) {
  NarrowingProfile profile;
  profile.topValue = 1.25 * result.widest;
  for (const double share : {0.25, 0.5, 0.75, 1.0})
    profile.labels.push_back(Format("%.1f", profile.topValue * share));
  const size_t n = result.widths.size();
  if (n == 0 || profile.topValue <= 0) return profile;
  const int left = area.left(), right = area.left() + area.width();
  const int top = area.top(), bottom = area.top() + area.height();
  for (size_t i = 0; i < n; ++i) {
    const int x = left + static_cast<int>(static_cast<long long>(right - left) *
                                          static_cast<long long>(i) / static_cast<long long>(n));
    const int y =
        bottom - static_cast<int>((bottom - top) * result.widths[i] / profile.topValue) - 1;
    profile.points.emplace_back(x, y);
  }
  return profile;
}

}  // namespace tolmar
