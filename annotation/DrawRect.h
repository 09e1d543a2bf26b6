#pragma once

#include "DrawObj.h"
#include "RegionShape.h"

namespace tolmar {

// A rectangle showing the statistics of the pixels inside it.
class CDrawRect : public CDrawObj {
 public:
  CDrawRect() : CDrawObj(draw_type::kRect) {}
  CDrawRect(DicomImage* owner, const ImageRect& position);

  int LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  std::string MeasureText() const override;
  // The pixels the properties dialog shows the histogram of.
  virtual RegionShape Region() const { return RegionShape::Rectangle(m_position); }

 protected:
  explicit CDrawRect(int32_t type) : CDrawObj(type) {}
  CDrawRect(int32_t type, DicomImage* owner, const ImageRect& position)
      : CDrawObj(type, owner, position) {}
  void DrawDotted(QPainter& painter, const DrawContext& context, bool active, int inset) const;
};

// A dotted rectangle whose pixels set the image's window; it keeps no note.
class CDrawWCRect : public CDrawRect {
 public:
  CDrawWCRect() : CDrawRect(draw_type::kWCRect) {}
  CDrawWCRect(DicomImage* owner, const ImageRect& position);
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  // Applies the window from the region to the owner image.
  void UpdateNote() override;
  void CreateNote() override { RemoveNote(); }
};

// The visible part of the image: while it exists the image shows only this
// rectangle; destroying it shows the whole image again.
class CDrawClipRect : public CDrawRect {
 public:
  CDrawClipRect() : CDrawRect(draw_type::kClipRect) {}
  CDrawClipRect(DicomImage* owner, const ImageRect& position);
  ~CDrawClipRect() override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  void UpdateNote() override;
  std::string MeasureText() const override;
  void MoveTo(const ImageRect& position, bool markModified) override;
};

}  // namespace tolmar
