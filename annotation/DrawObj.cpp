#include "DrawObj.h"

#include <QPainter>
#include <algorithm>

#include "AnnotationStyle.h"
#include "DrawObjList.h"
#include "DrawText.h"
#include "image/ByteWriter.h"
#include "image/DicomImage.h"

namespace tolmar {

QPoint DrawContext::ToCell(QPoint p) const { return imageToCell.map(p); }

QPoint DrawContext::ToImage(QPoint p) const {
  bool invertible = false;
  const QTransform inverse = imageToCell.inverted(&invertible);
  return invertible ? inverse.map(p) : p;
}

const AnnotationStyle& DrawContext::Style() const { return style ? *style : MeasureStyle(); }

CDrawObj::CDrawObj(int32_t type) : m_type(type) {}

CDrawObj::CDrawObj(int32_t type, DicomImage* owner, const ImageRect& position)
    : m_type(type), m_position(position), m_owner(owner) {}

CDrawObj::~CDrawObj() = default;

QPoint CDrawObj::Centre() const {
  const ImageRect r = m_position.Normalised();
  return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

void CDrawObj::SetOwner(DicomImage* owner) {
  m_owner = owner;
  if (m_note) m_note->SetOwner(owner);
}

QPoint CDrawObj::GetHandle(int n) const {
  const ImageRect& r = m_position;
  const int cx = r.left + (r.right - r.left) / 2;
  const int cy = r.top + (r.bottom - r.top) / 2;
  switch (n) {
    case 1:
      return {r.left, r.top};
    case 2:
      return {cx, r.top};
    case 3:
      return {r.right, r.top};
    case 4:
      return {r.right, cy};
    case 5:
      return {r.right, r.bottom};
    case 6:
      return {cx, r.bottom};
    case 7:
      return {r.left, r.bottom};
    case 8:
      return {r.left, cy};
    default:
      return {cx, cy};
  }
}

HandleCursor CDrawObj::GetHandleCursor(int n) const {
  switch (n) {
    case 1:
    case 5:
      return HandleCursor::SizeNwSe;
    case 2:
    case 6:
      return HandleCursor::SizeNs;
    case 3:
    case 7:
      return HandleCursor::SizeNeSw;
    case 4:
    case 8:
      return HandleCursor::SizeWe;
    default:
      return HandleCursor::SizeAll;
  }
}

int CDrawObj::LoadHead(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  int32_t type = 0, top = 0, left = 0, bottom = 0, right = 0;
  r.I32(type);
  r.I32(top);
  r.I32(left);
  r.I32(bottom);
  r.I32(right);
  if (r.Failed() || type != m_type) return -1;
  for (const int32_t v : {top, left, bottom, right}) {
    if (v > kMaxCoordinate || v < -kMaxCoordinate) return -1;
  }
  m_position = {left, top, right, bottom};
  return 20;
}

void CDrawObj::SaveHead(ByteWriter& w) const {
  w.I32(m_type);
  w.I32(m_position.top);
  w.I32(m_position.left);
  w.I32(m_position.bottom);
  w.I32(m_position.right);
}

int CDrawObj::LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) {
  const int used = LoadHead(bytes);
  if (used < 0) return -1;
  SetOwner(image);
  return used;
}

int CDrawObj::SaveRecord(ByteWriter& writer) const {
  SaveHead(writer);
  return 20;
}

void CDrawObj::Serialize(ByteWriter& w) const {
  w.I32(m_type);
  w.I32(m_position.left);
  w.I32(m_position.top);
  w.I32(m_position.right);
  w.I32(m_position.bottom);
  w.U32(m_note ? 1 : 0);
  if (m_note) m_note->Serialize(w);
}

bool CDrawObj::Deserialize(ByteReader& r) {
  int32_t type = 0, left = 0, top = 0, right = 0, bottom = 0;
  uint32_t hasNote = 0;
  r.I32(type);
  r.I32(left);
  r.I32(top);
  r.I32(right);
  r.I32(bottom);
  r.U32(hasNote);
  if (r.Failed() || type != m_type || hasNote > 1) return false;
  for (const int32_t v : {top, left, bottom, right}) {
    if (v > kMaxCoordinate || v < -kMaxCoordinate) return false;
  }
  m_position = {left, top, right, bottom};
  m_note.reset();
  if (hasNote) {
    // A note never carries a note of its own, so nesting stops here.
    if (m_type == draw_type::kNote) return false;
    auto note = std::make_unique<CDrawNote>();
    if (!note->Deserialize(r)) return false;
    note->SetOwner(m_owner);
    m_note = std::move(note);
  }
  return true;
}

QColor CDrawObj::PenColour(const DrawContext& context, bool active) const {
  if (context.printing) return Qt::white;
  const AnnotationStyle& s = context.Style();
  return ColourFromColorRef(active ? s.activeColour : s.normalColour);
}

QPen CDrawObj::MakePen(const DrawContext& context, bool active) const {
  const AnnotationStyle& s = context.Style();
  const int width = std::max(1, active ? s.activePenWidth : s.normalPenWidth);
  const int style = active ? s.activePenStyle : s.normalPenStyle;
  QPen pen(PenColour(context, active));
  pen.setWidth(width);
  // The drawing interface's styles: 0 solid, 1 dash, 2 dot, 3 dash-dot,
  // 4 dash-dot-dot, 5 none, 6 inside frame (drawn solid).
  switch (style) {
    case 1:
      pen.setStyle(Qt::DashLine);
      break;
    case 2:
      pen.setStyle(Qt::DotLine);
      break;
    case 3:
      pen.setStyle(Qt::DashDotLine);
      break;
    case 4:
      pen.setStyle(Qt::DashDotDotLine);
      break;
    case 5:
      pen.setStyle(Qt::NoPen);
      break;
    default:
      pen.setStyle(Qt::SolidLine);
      break;
  }
  return pen;
}

void CDrawObj::Draw(QPainter& painter, const DrawContext& context, bool active) {
  DrawNote(painter, context, active);
}

void CDrawObj::DrawNote(QPainter& painter, const DrawContext& context, bool active) {
  if (m_note) m_note->Draw(painter, context, active);
}

void CDrawObj::DrawTracker(QPainter& painter, const DrawContext& context,
                           TrackerState state) const {
  if (state == TrackerState::Normal) return;
  painter.save();
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  for (int n = 1; n <= GetHandleCount(); ++n) {
    const QPoint p = context.ToCell(GetHandle(n));
    // A 7 x 7 square from x - 3 to x + 4 (the frame is drawn inside).
    painter.drawRect(QRect(p.x() - 3, p.y() - 3, 6, 6));
  }
  painter.restore();
}

int CDrawObj::HitTest(QPoint cellPoint, const DrawContext& context) const {
  for (int n = 1; n <= GetHandleCount(); ++n) {
    const QPoint p = context.ToCell(GetHandle(n));
    if (cellPoint.x() >= p.x() - 3 && cellPoint.x() < p.x() + 3 && cellPoint.y() >= p.y() - 3 &&
        cellPoint.y() < p.y() + 3) {
      return n;
    }
  }
  return 0;
}

bool CDrawObj::Intersects(const ImageRect& rect) const {
  const ImageRect a = m_position.Normalised();
  const ImageRect b = rect.Normalised();
  return !a.Intersected(b).IsEmpty();
}

void CDrawObj::MarkModified() {
  if (m_owner) DrawObjList::Of(*m_owner).SetModified(true);
}

void CDrawObj::FollowNote(const ImageRect& oldPosition) {
  if (!m_note) return;
  const ImageRect oldN = oldPosition.Normalised();
  const ImageRect newN = m_position.Normalised();
  const int dx = newN.right - oldN.right;
  const int dy = newN.bottom - oldN.bottom;
  ImageRect box = m_note->Position();
  box.left += dx;
  box.right += dx;
  box.top += dy;
  box.bottom += dy;
  m_note->MoveTo(box, false);
  m_note->SetLeaderStart(Centre());
}

void CDrawObj::MoveTo(const ImageRect& position, bool markModified) {
  if (position == m_position) return;
  const ImageRect old = m_position;
  m_position = position;
  FollowNote(old);
  if (markModified) MarkModified();
}

void CDrawObj::MoveHandleTo(int n, QPoint p) {
  ImageRect r = m_position;
  switch (n) {
    case 1:
      r.left = p.x();
      r.top = p.y();
      break;
    case 2:
      r.top = p.y();
      break;
    case 3:
      r.right = p.x();
      r.top = p.y();
      break;
    case 4:
      r.right = p.x();
      break;
    case 5:
      r.right = p.x();
      r.bottom = p.y();
      break;
    case 6:
      r.bottom = p.y();
      break;
    case 7:
      r.left = p.x();
      r.bottom = p.y();
      break;
    case 8:
      r.left = p.x();
      break;
    default:
      return;
  }
  MoveTo(r, true);
}

void CDrawObj::UpdateNote() {
  if (m_note) m_note->SetText(MeasureText(), false);
}

void CDrawObj::CreateNote() {
  const ImageRect r = m_position.Normalised();
  m_note = std::make_unique<CDrawNote>(
      m_owner, ImageRect{r.right, r.bottom, r.right + 1, r.bottom + 1}, Centre());
  UpdateNote();
}

QPoint CDrawObj::TransformPoint(QPoint p, int code, int paddedColumns, int rows) {
  switch (code) {
    case image_transform::kMirrorLeftRight:
      return {(paddedColumns & ~1) - p.x(), p.y()};
    case image_transform::kMirrorTopBottom:
      return {p.x(), (rows & ~1) - p.y()};
    case image_transform::kRotateLeft:
      return {p.y(), paddedColumns - p.x()};
    case image_transform::kRotateRight:
      return {rows - p.y(), p.x()};
    default:
      return p;
  }
}

ImageRect CDrawObj::TransformRect(const ImageRect& r, int code, int paddedColumns, int rows) {
  const QPoint a = TransformPoint({r.left, r.top}, code, paddedColumns, rows);
  const QPoint b = TransformPoint({r.right, r.bottom}, code, paddedColumns, rows);
  return ImageRect{a.x(), a.y(), b.x(), b.y()}.Normalised();
}

void CDrawObj::Transform(int code, int paddedColumns, int rows) {
  m_position = TransformRect(m_position, code, paddedColumns, rows);
  if (m_note) m_note->Transform(code, paddedColumns, rows);
}

}  // namespace tolmar

namespace tolmar {
void CDrawObj::RemoveNote() { m_note.reset(); }
}  // namespace tolmar
