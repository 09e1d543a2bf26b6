#pragma once

#include "DrawRect.h"

namespace tolmar {

// A rectangle with rounded corners; handle 9 sets the corner size.
class CDrawRoundRect : public CDrawObj {
 public:
  CDrawRoundRect() : CDrawObj(draw_type::kRoundRect) {}
  CDrawRoundRect(DicomImage* owner, const ImageRect& position);

  int CornerWidth() const { return m_cornerWidth; }
  int CornerHeight() const { return m_cornerHeight; }

  int LoadRecord(DicomImage* image, std::span<const uint8_t> bytes) override;
  int SaveRecord(ByteWriter& writer) const override;
  void Serialize(ByteWriter& writer) const override;
  bool Deserialize(ByteReader& reader) override;
  void Draw(QPainter& painter, const DrawContext& context, bool active) override;
  int GetHandleCount() const override { return 9; }
  QPoint GetHandle(int n) const override;
  HandleCursor GetHandleCursor(int n) const override;
  void MoveHandleTo(int n, QPoint imagePoint) override;
  bool Intersects(const ImageRect& rect) const override;
  std::string MeasureText() const override;
  RegionShape Region() const;

 private:
  int m_cornerWidth = 16;
  int m_cornerHeight = 16;
};

}  // namespace tolmar
