#include "ScoutLineSet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "ByteWriter.h"

namespace tolmar {

namespace {

using Vec = std::array<double, 3>;

Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Add(const Vec& a, const Vec& b, double f) { return {a[0] + b[0] * f, a[1] + b[1] * f, a[2] + b[2] * f}; }
Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

constexpr double kTiny = 1e-9;
// Points further out than this are no line on any screen; refusing them keeps
// the integer conversion defined.
constexpr double kFarAway = 1e7;

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

int LabelNumber(const std::string& label) { return static_cast<int>(std::strtol(label.c_str(), nullptr, 10)); }

}  // namespace

bool ScoutSectionGeometry(const ScoutPlane& s, const ScoutPlane& o, double& position, double& angle) {
  const Vec sRow{s.orientation[0], s.orientation[1], s.orientation[2]};
  const Vec oRow{o.orientation[0], o.orientation[1], o.orientation[2]};
  const Vec oCol{o.orientation[3], o.orientation[4], o.orientation[5]};
  const Vec n = Cross(oRow, oCol);
  const double width = s.columns * s.columnSpacing;
  if (std::fabs(n[2]) < kTiny || std::fabs(width) < kTiny || std::fabs(s.rowSpacing) < kTiny) return false;
  const Vec sPos{s.position[0], s.position[1], s.position[2]};
  auto d = [&](const Vec& p) {
    const double zO = o.position[2] - (n[0] * (p[0] - o.position[0]) + n[1] * (p[1] - o.position[1])) / n[2];
    return p[2] - zO;
  };
  const double a = d(sPos), b = d(Add(sPos, sRow, width));
  position = (a + (b - a) / 2) / s.rowSpacing;
  angle = std::atan2((b - a) / width, 1.0);
  return std::isfinite(position) && std::isfinite(angle) && std::fabs(position) < kFarAway;
}

bool ScoutRegionGeometry(const ScoutPlane& s, const ScoutPlane& o, std::vector<QPoint>& points) {
  points.clear();
  double sPos[3], oPos[3], sOri[6], oOri[6], sSp[2], oSp[2];
  if (!ParseDecimalList(s.positionText, sPos, 3, true) || !ParseDecimalList(o.positionText, oPos, 3, true) ||
      !ParseDecimalList(s.orientationText, sOri, 6, true) ||
      !ParseDecimalList(o.orientationText, oOri, 6, true) || !ParseDecimalList(s.spacingText, sSp, 2, false) ||
      !ParseDecimalList(o.spacingText, oSp, 2, false)) {
    return false;
  }
  if (sSp[0] == 0 || sSp[1] == 0 || oSp[0] == 0 || oSp[1] == 0) return false;
  if (s.columns == 0 || s.rows == 0 || o.columns == 0 || o.rows == 0) return false;
  // Spacing texts hold the row spacing first, then the column spacing.
  const double oRowSpacing = oSp[0], oColumnSpacing = oSp[1];
  const double sRowSpacing = sSp[0], sColumnSpacing = sSp[1];
  const Vec sOrigin{sPos[0], sPos[1], sPos[2]};
  const Vec sRow{sOri[0], sOri[1], sOri[2]}, sCol{sOri[3], sOri[4], sOri[5]};
  const Vec sNormal = Cross(sRow, sCol);
  const Vec oRow{oOri[0], oOri[1], oOri[2]}, oCol{oOri[3], oOri[4], oOri[5]};
  Vec c[4];
  c[0] = {oPos[0], oPos[1], oPos[2]};
  c[1] = Add(c[0], oRow, o.columns * oColumnSpacing);
  c[2] = Add(c[1], oCol, o.rows * oRowSpacing);
  c[3] = Add(c[0], oCol, o.rows * oRowSpacing);
  double u[4], v[4], w[4];
  for (int i = 0; i < 4; ++i) {
    const Vec d = Sub(c[i], sOrigin);
    u[i] = Dot(d, sRow);
    v[i] = Dot(d, sCol);
    w[i] = Dot(d, sNormal);
  }
  auto on = [&](int from, int to, double t, QPointF& p) {
    p = {u[from] + t * (u[to] - u[from]), v[from] + t * (v[to] - v[from])};
  };
  QPointF first, second;
  if (w[0] != w[1]) {
    if (std::fabs(w[3] - w[2]) < kTiny) return false;
    on(1, 0, w[1] / (w[1] - w[0]), first);
    on(2, 3, -w[2] / (w[3] - w[2]), second);
  } else {
    if (std::fabs(w[0] - w[3]) < kTiny || std::fabs(w[1] - w[2]) < kTiny) return false;
    on(3, 0, -w[3] / (w[0] - w[3]), first);
    on(2, 1, -w[2] / (w[1] - w[2]), second);
  }
  for (const QPointF& p : {first, second}) {
    const double x = p.x() / sColumnSpacing + 0.5, y = p.y() / sRowSpacing + 0.5;
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kFarAway || std::fabs(y) > kFarAway) {
      points.clear();
      return false;
    }
    points.emplace_back(static_cast<int>(x), static_cast<int>(y));
  }
  return true;
}

bool ScoutLineSet::Exists() const {
  std::lock_guard lock(m_mutex);
  return m_exists;
}

void ScoutLineSet::Reset(bool exists) {
  std::lock_guard lock(m_mutex);
  m_exists = exists;
  m_lines.clear();
  m_currentSeries.clear();
}

bool ScoutLineSet::AddLine(const ScoutPlane& scout, const ScoutPlane& other, bool checkFrameUid) {
  if (!other.valid || !scout.valid) return false;
  {
    std::lock_guard lock(m_mutex);
    for (const ScoutLine& line : m_lines) {
      if (line.uid == other.sopInstanceUid) return false;
    }
  }
  if (!scout.IsScout() || other.IsScout() || !scout.SameFrame(other, checkFrameUid)) return false;
  ScoutLine line;
  line.hasSection = ScoutSectionGeometry(scout, other, line.position, line.angle);
  const bool hasRegion = ScoutRegionGeometry(scout, other, line.points);
  if (!line.hasSection && !hasRegion) return false;
  line.label = other.instanceLabel;
  line.uid = other.sopInstanceUid;
  line.seriesLabel = other.seriesLabel;
  std::lock_guard lock(m_mutex);
  for (const ScoutLine& existing : m_lines) {
    if (existing.uid == line.uid) return false;  // added meanwhile by another thread
  }
  const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), line.position,
                                   [](double p, const ScoutLine& l) { return p < l.position; });
  m_lines.insert(at, std::move(line));
  m_currentSeries = other.seriesLabel;
  m_exists = true;
  return true;
}

bool ScoutLineSet::MarkCurrent(const std::string& uid, bool force) {
  std::lock_guard lock(m_mutex);
  const auto found = std::find_if(m_lines.begin(), m_lines.end(), [&](const ScoutLine& l) { return l.uid == uid; });
  if (found == m_lines.end() && !force) return false;
  for (ScoutLine& line : m_lines) {
    line.highlighted = line.uid == uid;
    if (line.highlighted) m_currentSeries = line.seriesLabel;
  }
  return found != m_lines.end();
}

int ScoutLineSet::Interval() const {
  std::lock_guard lock(m_mutex);
  return m_interval;
}
int ScoutLineSet::MaximumLabel() const {
  std::lock_guard lock(m_mutex);
  return m_maximum;
}
int ScoutLineSet::MinimumLabel() const {
  std::lock_guard lock(m_mutex);
  return m_minimum;
}
void ScoutLineSet::SetDisplayValues(int interval, int maximum, int minimum) {
  std::lock_guard lock(m_mutex);
  if (interval >= 0) m_interval = interval;
  if (maximum >= 0) m_maximum = maximum;
  if (minimum >= 0) m_minimum = minimum;
}
std::string ScoutLineSet::CurrentSeries() const {
  std::lock_guard lock(m_mutex);
  return m_currentSeries;
}
std::vector<ScoutLine> ScoutLineSet::Lines() const {
  std::lock_guard lock(m_mutex);
  return m_lines;
}

bool ScoutLineSet::Shown(const ScoutLine& line, bool drawOneSeries) const {
  if (drawOneSeries && line.seriesLabel != m_currentSeries) return false;
  if (m_maximum > 0) {
    const int label = LabelNumber(line.label);
    if (label < m_minimum || label > m_maximum) return false;
  }
  return true;
}

void ScoutLineSet::Draw(QPainter& painter, const QRect& cell, const CellPlacement& placement,
                        const ScoutDrawOptions& options) const {
  std::lock_guard lock(m_mutex);
  if (!m_exists || m_lines.empty()) return;
  painter.save();
  painter.setClipRect(cell, Qt::IntersectClip);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  QFont font("Arial");
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(12 * (options.printing ? options.printerRatio : 1.0)))));
  font.setWeight(QFont::Normal);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int i = -1;
  for (const ScoutLine& line : m_lines) {
    if (options.drawOneSeries && line.seriesLabel != m_currentSeries) continue;
    if (options.currentOnly && !line.highlighted) continue;
    ++i;
    if (!options.currentOnly) {
      if (i % (static_cast<int64_t>(m_interval) + 1) != 0) continue;
      if (m_maximum > 0) {
        const int label = LabelNumber(line.label);
        if (label < m_minimum || label > m_maximum) continue;
      }
    }
    std::vector<QPointF> screen;
    if (options.regionMode) {
      if (line.points.size() < 2) continue;
      for (const QPoint& p : line.points) screen.push_back(placement.ToCell(p.x(), p.y()));
    } else {
      if (!line.hasSection) continue;
      const QRectF box(cell.left() + 20, cell.top(), std::max(0, cell.width() - 40), cell.height());
      const int row = static_cast<int>(std::floor(line.position));
      const double fraction = line.position - row;
      const QPointF a = placement.ToCell(options.imageCentreColumn, row);
      const QPointF b = placement.ToCell(options.imageCentreColumn, row + 1);
      const QPointF centre(a.x(), a.y() + (b.y() - a.y()) * fraction);
      const double slope = std::tan(line.angle);
      // The line clipped to the box: cut at the left and right edges, and at
      // the top and bottom ones when it is not level.
      QRectF cut = QRectF(QPointF(box.left(), centre.y() + slope * (box.left() - centre.x())),
                          QPointF(box.right(), centre.y() + slope * (box.right() - centre.x())))
                       .normalized();
      if (slope != 0) {
        const QRectF vertical = QRectF(QPointF(centre.x() + (box.top() - centre.y()) / slope, box.top()),
                                       QPointF(centre.x() + (box.bottom() - centre.y()) / slope, box.bottom()))
                                    .normalized();
        cut = QRectF(QPointF(std::max(cut.left(), vertical.left()), std::max(cut.top(), vertical.top())),
                     QPointF(std::min(cut.right(), vertical.right()), std::min(cut.bottom(), vertical.bottom())));
        if (cut.width() < 0 || cut.height() < 0) continue;  // the line misses the cell
      }
      if (slope >= 0) {
        screen = {cut.topLeft(), cut.bottomRight()};
      } else {
        screen = {cut.bottomLeft(), cut.topRight()};
      }
    }
    const QColor colour = FromColorRef(line.highlighted ? kHighlightColour : kLineColour);
    painter.setPen(QPen(colour, 1));
    for (size_t k = 1; k < screen.size(); ++k) painter.drawLine(screen[k - 1], screen[k]);

    if (line.highlighted && cell.width() < 100) continue;
    const QString text = QString::fromStdString(line.label);
    const int textWidth = metrics.horizontalAdvance(text);
    QPointF anchor;
    double x = 0;
    if (i % 2 == 1) {
      anchor = screen.size() >= 3 ? screen[2] : screen[1];
      x = anchor.x();
    } else {
      anchor = screen[0];
      x = anchor.x() - textWidth;
    }
    const double baseline = anchor.y() + (metrics.ascent() - metrics.descent()) / 2.0;
    painter.setPen(Qt::black);
    for (const QPointF offset : {QPointF(1, 0), QPointF(0, 1), QPointF(0, -1), QPointF(-1, 0)}) {
      painter.drawText(QPointF(x, baseline) + offset, text);
    }
    painter.setPen(colour);
    painter.drawText(QPointF(x, baseline), text);
  }
  painter.restore();
}

void ScoutLineSet::WriteCopyRecord(ByteWriter& w, bool regionMode, bool drawOneSeries) const {
  std::lock_guard lock(m_mutex);
  std::vector<const ScoutLine*> kept;
  for (const ScoutLine& line : m_lines) {
    if (Shown(line, drawOneSeries)) kept.push_back(&line);
  }
  w.I32(m_interval);
  w.U32(static_cast<uint32_t>(kept.size()));
  for (const ScoutLine* line : kept) {
    const auto position = static_cast<float>(line->position);
    const auto angle = static_cast<float>(line->angle);
    uint32_t bits = 0;
    std::memcpy(&bits, &position, 4);
    w.U32(bits);
    std::memcpy(&bits, &angle, 4);
    w.U32(bits);
    w.I32(regionMode ? 1 : 0);
    w.U32(static_cast<uint32_t>(line->points.size()));
    for (const QPoint& p : line->points) {
      w.I32(p.x());
      w.I32(p.y());
    }
    w.U32(static_cast<uint32_t>(line->label.size()));
    w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(line->label.data()), line->label.size()));
    w.U32(static_cast<uint32_t>(line->uid.size()));
    w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(line->uid.data()), line->uid.size()));
  }
}

bool ScoutLineSet::ReadCopyRecord(std::span<const uint8_t> record, bool& regionMode) {
  ByteReader r(record);
  int32_t interval = 0;
  uint32_t count = 0;
  if (!r.I32(interval) || !r.U32(count)) return false;
  std::vector<ScoutLine> lines;
  bool mode = regionMode;
  for (uint32_t n = 0; n < count; ++n) {
    ScoutLine line;
    uint32_t positionBits = 0, angleBits = 0, pointCount = 0, length = 0;
    int32_t region = 0;
    r.U32(positionBits);
    r.U32(angleBits);
    r.I32(region);
    r.U32(pointCount);
    if (r.Failed() || pointCount > r.Remaining() / 8) return false;
    float position = 0, angle = 0;
    std::memcpy(&position, &positionBits, 4);
    std::memcpy(&angle, &angleBits, 4);
    line.position = std::isfinite(position) ? position : 0;
    line.angle = std::isfinite(angle) ? angle : 0;
    line.hasSection = true;
    for (uint32_t k = 0; k < pointCount; ++k) {
      int32_t x = 0, y = 0;
      r.I32(x);
      r.I32(y);
      line.points.emplace_back(x, y);
    }
    r.U32(length);
    const auto label = r.Take(length);
    r.U32(length);
    const auto uid = r.Take(length);
    if (r.Failed()) return false;
    line.label.assign(label.begin(), label.end());
    line.uid.assign(uid.begin(), uid.end());
    mode = region != 0;
    lines.push_back(std::move(line));
  }
  std::lock_guard lock(m_mutex);
  m_lines = std::move(lines);
  // The record carries no series labels: every line read belongs to the
  // current series.
  m_currentSeries.clear();
  m_interval = std::max(0, interval);
  m_exists = true;
  regionMode = mode;
  return true;
}

}  // namespace tolmar
