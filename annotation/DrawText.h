#pragma once

#include <string>

#include "DrawLine.h"
#include "DrawObj.h"

namespace tolmar {

// A text annotation: lines separated by "\r\n", drawn in the "Measure" font.
// The box grows to the measured text each time it is drawn.
class CDrawText : public CDrawObj {
 public:
  CDrawText() : CDrawObj(draw_type::kText) {}
  CDrawText(DicomImage* owner, const ImageRect& position);

  const std::string& Text() const { return m_text; }
  virtual void SetText(const std::string& text, bool markModified);

  int LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) override;
  int SaveRecord(ByteWriter& writer) const override;
  void Serialize(ByteWriter& writer) const override;
  bool Deserialize(ByteReader& reader) override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  // Texts carry no note of their own.
  void CreateNote() override {}

  // Measured size in cell pixels and the font generation it was measured at.
  int MeasuredWidth() const { return m_width; }
  int MeasuredHeight() const { return m_height; }

 protected:
  explicit CDrawText(int32_t type) : CDrawObj(type) {}
  void DrawText(QPainter& painter, const DrawContext& context, bool active);

  std::string m_text;
  int m_width = 0;
  int m_height = 0;
  int m_fontGeneration = 0;
};

// The note of an object: a text box and a leader line from the object's centre
// to the centre of the box.
class CDrawNote : public CDrawText {
 public:
  CDrawNote() : CDrawText(draw_type::kNote) {}
  CDrawNote(DicomImage* owner, const ImageRect& box, QPoint objectCentre);

  CDrawLine& Leader() { return m_line; }
  const CDrawLine& Leader() const { return m_line; }
  void SetLeaderStart(QPoint start);

  void SetOwner(DicomImage* owner) override;
  void SetText(const std::string& text, bool markModified) override;
  void Serialize(ByteWriter& writer) const override;
  bool Deserialize(ByteReader& reader) override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  void MoveTo(const ImageRect& position, bool markModified) override;
  void Transform(int code, int paddedColumns, int rows) override;

 private:
  CDrawLine m_line;
};

}  // namespace tolmar
