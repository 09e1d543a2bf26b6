#include "DrawText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <cmath>

#include "AnnotationStyle.h"
#include "DrawArchive.h"
#include "image/ByteWriter.h"

namespace tolmar {

CDrawText::CDrawText(DicomImage* owner, const ImageRect& position)
    : CDrawObj(draw_type::kText, owner, position) {}

void CDrawText::SetText(const std::string& text, bool markModified) {
  if (text == m_text) return;
  m_text = text;
  m_fontGeneration = 0;  // measure again
  if (markModified) MarkModified();
}

int CDrawText::LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) {
  const int used = CDrawObj::LoadRecord(image, bytes);
  if (used < 0) return -1;
  ByteReader r(bytes.subspan(static_cast<size_t>(used)));
  int32_t length = 0;
  if (!r.I32(length) || length < 0) return -1;
  // The length is checked against the bytes left before the text is copied.
  const auto text = r.Take(static_cast<size_t>(length));
  if (r.Failed()) return -1;
  m_text.assign(text.begin(), text.end());
  m_fontGeneration = 0;
  return used + 4 + length;
}

int CDrawText::SaveRecord(ByteWriter& w) const {
  SaveHead(w);
  w.I32(static_cast<int32_t>(m_text.size()));
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(m_text.data()), m_text.size()));
  return 24 + static_cast<int>(m_text.size());
}

void CDrawText::Serialize(ByteWriter& w) const {
  CDrawObj::Serialize(w);
  WriteArchiveString(w, m_text);
}

bool CDrawText::Deserialize(ByteReader& r) {
  if (!CDrawObj::Deserialize(r)) return false;
  m_fontGeneration = 0;
  return ReadArchiveString(r, m_text);
}

void CDrawText::DrawText(QPainter& painter, const DrawContext& context, bool active) {
  const AnnotationStyle& style = context.Style();
  const QFont font = FontOf(style.font, context.printing ? context.printerScale : 1.0);
  painter.setFont(font);
  const QFontMetrics metrics(font, painter.device());
  const QStringList lines = DisplayText(m_text).split(QStringLiteral("\r\n"));
  int width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  const int lineHeight = metrics.height();
  m_width = width;
  m_height = lineHeight * static_cast<int>(lines.size());
  m_fontGeneration = FontGeneration();

  const QPoint origin = context.ToCell({m_position.left, m_position.top});
  auto drawLines = [&](QPoint offset) {
    for (int i = 0; i < lines.size(); ++i) {
      const QPoint at = origin + offset + QPoint(0, i * lineHeight + metrics.ascent());
      painter.drawText(at, lines[i]);
    }
  };
  if (!context.printing) {
    // An outline in black keeps the text readable on any grey.
    painter.setPen(Qt::black);
    for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
      drawLines(offset);
  }
  painter.setPen(PenColour(context, active));
  drawLines({0, 0});

  // The box follows the text, converted back to image pixels.
  bool invertible = false;
  const QTransform back = context.imageToCell.inverted(&invertible);
  double w = m_width, h = m_height;
  if (invertible) {
    const QPointF size = back.map(QPointF(m_width, m_height)) - back.map(QPointF(0, 0));
    w = std::abs(size.x());
    h = std::abs(size.y());
  }
  m_position.right = m_position.left + static_cast<int>(w) + 1;
  m_position.bottom = m_position.top + static_cast<int>(h) + 1;
}

void CDrawText::Draw(QPainter& painter, const DrawContext& context, bool active) {
  DrawText(painter, context, active);
  DrawNote(painter, context, active);
}

CDrawNote::CDrawNote(DicomImage* owner, const ImageRect& box, QPoint objectCentre)
    : CDrawText(draw_type::kNote) {
  m_owner = owner;
  m_position = box;
  m_line.SetOwner(owner);
  const QPoint centre = Centre();
  m_line.MoveTo({objectCentre.x(), objectCentre.y(), centre.x(), centre.y()}, false);
}

void CDrawNote::SetLeaderStart(QPoint start) {
  ImageRect r = m_line.Position();
  r.left = start.x();
  r.top = start.y();
  m_line.MoveTo(r, false);
}

void CDrawNote::SetOwner(DicomImage* owner) {
  CDrawText::SetOwner(owner);
  m_line.SetOwner(owner);
}

void CDrawNote::SetText(const std::string& text, bool markModified) {
  CDrawText::SetText(text, markModified);
}

void CDrawNote::Serialize(ByteWriter& w) const {
  CDrawText::Serialize(w);
  m_line.Serialize(w);
}

bool CDrawNote::Deserialize(ByteReader& r) {
  return CDrawText::Deserialize(r) && m_line.Deserialize(r);
}

void CDrawNote::Draw(QPainter& painter, const DrawContext& context, bool active) {
  DrawText(painter, context, active);
  // The box may have grown with its text: the leader ends at its new centre.
  const QPoint centre = Centre();
  ImageRect line = m_line.Position();
  line.right = centre.x();
  line.bottom = centre.y();
  m_line.MoveTo(line, false);
  if (context.Style().showDash) {
    painter.setPen(MakePen(context, active));
    painter.drawLine(context.ToCell({line.left, line.top}),
                     context.ToCell({line.right, line.bottom}));
  }
}

void CDrawNote::MoveTo(const ImageRect& position, bool markModified) {
  if (position == m_position) return;
  m_position = position;
  const QPoint centre = Centre();
  ImageRect line = m_line.Position();
  line.right = centre.x();
  line.bottom = centre.y();
  m_line.MoveTo(line, false);
  if (markModified) MarkModified();
}

void CDrawNote::Transform(int code, int paddedColumns, int rows) {
  m_position = TransformRect(m_position, code, paddedColumns, rows);
  m_line.Transform(code, paddedColumns, rows);
}

}  // namespace tolmar
