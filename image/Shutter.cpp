#include "Shutter.h"

#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <cstdlib>

#include "ByteWriter.h"
#include "dicom/DicomDataSet.h"

namespace tolmar {

namespace {

// A whole decimal integer; false for a missing element or text that is not a number.
bool ReadInteger(const DicomDataSet& ds, uint16_t group, uint16_t element, int& value) {
  if (!ds.FindElement(group, element)) return false;
  const std::string text = ds.GetText(group, element);
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

bool CShutter::ReadFromDataSet(const DicomDataSet& ds) {
  m_shape = ds.GetText(0x0018, 0x1600);
  bool ok = false;
  if (m_shape.find(kCircular) != std::string::npos) {
    // Center of Circular Shutter holds row then column. Decimal parsing: a value
    // with a leading zero is a decimal number, not octal.
    const std::string centre = ds.GetText(0x0018, 0x1610);
    int radius = 0;
    const char* p = centre.c_str();
    char* end = nullptr;
    const long row = std::strtol(p, &end, 10);
    const bool haveRow = end != p && *end == '\\';
    long column = 0;
    bool haveColumn = false;
    if (haveRow) {
      const char* q = end + 1;
      column = std::strtol(q, &end, 10);
      haveColumn = end != q;
    }
    if (haveRow && haveColumn && ReadInteger(ds, 0x0018, 0x1612, radius)) {
      m_rect = {static_cast<int>(column) - radius, static_cast<int>(row) - radius,
                static_cast<int>(column) + radius, static_cast<int>(row) + radius};
      ok = true;
    }
  } else if (m_shape.find(kRectangular) != std::string::npos) {
    ImageRect r;
    ok = ReadInteger(ds, 0x0018, 0x1602, r.left) && ReadInteger(ds, 0x0018, 0x1604, r.right) &&
         ReadInteger(ds, 0x0018, 0x1606, r.top) && ReadInteger(ds, 0x0018, 0x1608, r.bottom);
    if (ok) m_rect = r;
  }
  if (!ok) {
    m_shape.clear();
    return false;
  }
  m_initialShape = m_shape;
  m_initialRect = m_rect;
  return true;
}

void CShutter::SetRectangular(const ImageRect& rect) {
  m_shape = kRectangular;
  m_rect = rect;
}

void CShutter::SetCircular(int centreX, int centreY, int radius) {
  m_shape = kCircular;
  m_rect = {centreX - radius, centreY - radius, centreX + radius, centreY + radius};
}

void CShutter::SetEmpty() { m_shape.clear(); }

void CShutter::Restore() {
  m_shape = m_initialShape;
  m_rect = m_initialRect;
}

void CShutter::Circle(int& centreX, int& centreY, int& radius) const {
  const int diameter = m_rect.right - m_rect.left;
  centreX = m_rect.left + diameter / 2;
  centreY = m_rect.top + diameter / 2;
  radius = diameter / 2;
}

void CShutter::Serialize(ByteWriter& w) const {
  WriteArchiveString(w, m_shape);
  w.I32(m_rect.left);
  w.I32(m_rect.top);
  w.I32(m_rect.right);
  w.I32(m_rect.bottom);
  WriteArchiveString(w, m_initialShape);
  w.I32(m_initialRect.left);
  w.I32(m_initialRect.top);
  w.I32(m_initialRect.right);
  w.I32(m_initialRect.bottom);
}

bool CShutter::Deserialize(ByteReader& r) {
  std::string shape, initialShape;
  ImageRect rect, initial;
  if (!ReadArchiveString(r, shape)) return false;
  r.I32(rect.left);
  r.I32(rect.top);
  r.I32(rect.right);
  r.I32(rect.bottom);
  if (!ReadArchiveString(r, initialShape)) return false;
  r.I32(initial.left);
  r.I32(initial.top);
  r.I32(initial.right);
  r.I32(initial.bottom);
  if (r.Failed()) return false;
  m_shape = std::move(shape);
  m_rect = rect;
  m_initialShape = std::move(initialShape);
  m_initialRect = initial;
  return true;
}

bool CShutter::Clip(QPainter& painter, const std::function<QRect(const ImageRect&)>& imageToScreen,
                    const QPoint* origin) const {
  if (IsEmpty() || !m_owner || !imageToScreen) return false;
  QRect screen = imageToScreen(m_rect).normalized();
  if (origin) screen.translate(*origin);
  if (IsCircular()) {
    QPainterPath path;
    path.addEllipse(QRectF(screen));
    painter.setClipPath(path);
  } else {
    painter.setClipRect(screen);
  }
  return true;
}

void WriteArchiveString(ByteWriter& w, const std::string& text) {
  const size_t n = text.size();
  if (n < 0xFF) {
    w.U8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFF) {
    w.U8(0xFF);
    w.U16(static_cast<uint16_t>(n));
  } else {
    w.U8(0xFF);
    w.U16(0xFFFF);
    w.U32(static_cast<uint32_t>(n));
  }
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), n));
}

bool ReadArchiveString(ByteReader& r, std::string& text) {
  uint8_t shortLength = 0;
  if (!r.U8(shortLength)) return false;
  uint32_t length = shortLength;
  if (shortLength == 0xFF) {
    uint16_t middle = 0;
    if (!r.U16(middle)) return false;
    length = middle;
    if (middle == 0xFFFF && !r.U32(length)) return false;
  }
  const auto bytes = r.Take(length);
  if (r.Failed()) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace tolmar
